#include "exam/message.h"

#include "res/string_table.h"

namespace kz {

Message message_of(int text_id, int caption_id, MessageIcon icon, MessageButtons buttons,
                   bool owned_by_main_window) {
    return Message{load_message(text_id), load_caption(caption_id), icon, buttons,
                   owned_by_main_window};
}

}  // namespace kz

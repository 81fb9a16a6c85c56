#pragma once
// Message boxes: what the exam and the results recording tell or ask the
// student. The front end shows them modally and returns the button pressed.
#include <string>

namespace kz {

enum class MessageIcon { warning, information, error };
enum class MessageButtons { ok, yes_no };
enum class MessageAnswer { ok, yes, no };

struct Message {
    std::string text;     // Windows-1252
    std::string caption;
    MessageIcon icon = MessageIcon::warning;
    MessageButtons buttons = MessageButtons::ok;
    bool owned_by_main_window = true;  // false: a box without owner
};

// A message of the string table with a caption of the string table.
Message message_of(int text_id, int caption_id, MessageIcon icon,
                   MessageButtons buttons = MessageButtons::ok, bool owned_by_main_window = true);

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show_message(const Message& message) = 0;
};

}  // namespace kz

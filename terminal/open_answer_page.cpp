#include "open_answer_page.h"

namespace kz::term {

void OpenAnswerPage::answer(const std::string& answer) {
    context_.view.give_typed_answer(answer);
    send_next();
}

}  // namespace kz::term

#include "host/answer_box_page.h"

#include "display/rich_text_display.h"

namespace kz::win {

BOOL AnswerBoxPage::on_init_dialog() {
    QuestionPage::on_init_dialog();
    SendMessageW(answer_box(), EM_EXLIMITTEXT, 0, static_cast<LPARAM>(typed_answer_limit));
    give_keys_to_window(answer_box_);
    // The student types in the runner's plain-text format.
    show_rich_text(window(), answer_box_, "");
    return FALSE;
}

void AnswerBoxPage::clear_answer() { show_rich_text(window(), answer_box_, ""); }

std::string AnswerBoxPage::typed_answer() { return window() ? rich_edit_text(window(), answer_box_) : std::string(); }

HWND AnswerBoxPage::focus_control(Focus target) { return target == Focus::answer_field ? answer_box() : nullptr; }

HWND AnswerBoxPage::palette_control(PaletteTarget target) {
    return target == PaletteTarget::answer_field ? answer_box() : nullptr;
}

}  // namespace kz::win

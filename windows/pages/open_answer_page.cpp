#include "pages/open_answer_page.h"

#include "display/rich_text_display.h"
#include "host/question_page.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

// The longest answer that is graded, in characters.
constexpr int answer_limit = 1023;

class OpenAnswerPage final : public QuestionPage {
public:
    explicit OpenAnswerPage(Shell& shell)
        : QuestionPage(shell, {{Place::question, {IDC_QUESTION, IDC_QUESTION_IMAGE, IDC_OPEN_PLAY, IDC_OPEN_STOP}}},
                       {90, 90}) {}

    void clear_answer() override { show_rich_text(window(), IDC_OPEN_ANSWER, ""); }
    std::string typed_answer() override { return window() ? rich_edit_text(window(), IDC_OPEN_ANSWER) : ""; }

    HWND focus_control(Focus target) override {
        return target == Focus::answer_field ? GetDlgItem(window(), IDC_OPEN_ANSWER) : nullptr;
    }

    HWND palette_control(PaletteTarget target) override {
        return target == PaletteTarget::answer_field ? GetDlgItem(window(), IDC_OPEN_ANSWER) : nullptr;
    }

private:
    BOOL on_init_dialog() override {
        QuestionPage::on_init_dialog();
        SendDlgItemMessageW(window(), IDC_OPEN_ANSWER, EM_EXLIMITTEXT, 0, answer_limit);
        // Enter in the answer box validates the answer, as "Suivant >" does.
        give_keys_to_window(IDC_OPEN_ANSWER);
        // The student types in the runner's plain-text format.
        show_rich_text(window(), IDC_OPEN_ANSWER, "");
        return FALSE;
    }
};

}  // namespace

std::shared_ptr<HostedPage> show_open_answer_page(Shell& shell) {
    auto page = std::make_shared<OpenAnswerPage>(shell);
    host_page(page, IDD_OPEN_ANSWER, shell);
    return page;
}

}  // namespace kz::win

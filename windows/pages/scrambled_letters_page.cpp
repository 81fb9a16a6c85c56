#include "pages/scrambled_letters_page.h"

#include "display/rich_text_display.h"
#include "host/page_host.h"
#include "host/question_page.h"
#include "resources/resource.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr int letters_height = 30;
constexpr int help_height = 13;
// The longest answer that is graded, in characters.
constexpr int answer_limit = 1023;

class ScrambledLettersPage final : public QuestionPage {
public:
    explicit ScrambledLettersPage(Shell& shell)
        : QuestionPage(shell,
                       {{Place::question, {IDC_QUESTION, IDC_QUESTION_IMAGE, IDC_SCRAMBLE_PLAY, IDC_SCRAMBLE_STOP}}},
                       {90, 90}) {}

    void show_letters_line(std::string_view letters) override {
        set_item_text(window(), IDC_SCRAMBLE_LETTERS, letters);
    }

    void clear_answer() override { show_rich_text(window(), IDC_SCRAMBLE_ANSWER, ""); }
    std::string typed_answer() override { return window() ? rich_edit_text(window(), IDC_SCRAMBLE_ANSWER) : ""; }

    HWND focus_control(Focus target) override {
        return target == Focus::answer_field ? GetDlgItem(window(), IDC_SCRAMBLE_ANSWER) : nullptr;
    }

    HWND palette_control(PaletteTarget target) override {
        return target == PaletteTarget::answer_field ? GetDlgItem(window(), IDC_SCRAMBLE_ANSWER) : nullptr;
    }

private:
    BOOL on_init_dialog() override {
        QuestionPage::on_init_dialog();
        HWND page = window();
        set_font(IDC_SCRAMBLE_LETTERS, letters_height, true, false);
        set_font(IDC_SCRAMBLE_HELP, help_height, false, false);
        set_rich_background(GetDlgItem(page, IDC_SCRAMBLE_ANSWER), shell_.colours.page);
        SendDlgItemMessageW(page, IDC_SCRAMBLE_ANSWER, EM_EXLIMITTEXT, 0, answer_limit);
        // The box is a multi-line one: Enter is "Suivant >" and Tab the next
        // control, so that no line break ever gets into the graded answer.
        give_keys_to_window(IDC_SCRAMBLE_ANSWER);
        show_rich_text(page, IDC_SCRAMBLE_ANSWER, "");
        return FALSE;
    }
};

}  // namespace

std::shared_ptr<HostedPage> show_scrambled_letters_page(Shell& shell) {
    auto page = std::make_shared<ScrambledLettersPage>(shell);
    host_page(page, IDD_SCRAMBLED, shell);
    return page;
}

}  // namespace kz::win

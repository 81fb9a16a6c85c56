#include "pages/scrambled_letters_page.h"

#include "display/rich_text_display.h"
#include "host/answer_box_page.h"
#include "host/page_host.h"
#include "resources/resource.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr int letters_height = 30;
constexpr int help_height = 13;

class ScrambledLettersPage final : public AnswerBoxPage {
public:
    explicit ScrambledLettersPage(PageShell shell)
        : AnswerBoxPage(shell,
                        {{Place::question, {IDC_QUESTION, IDC_QUESTION_IMAGE, IDC_SCRAMBLE_PLAY, IDC_SCRAMBLE_STOP}}},
                        IDC_SCRAMBLE_ANSWER) {}

    void show_letters_line(std::string_view letters) override {
        set_item_text(window(), IDC_SCRAMBLE_LETTERS, letters);
    }

private:
    BOOL on_init_dialog() override {
        AnswerBoxPage::on_init_dialog();
        HWND page = window();
        set_font(IDC_SCRAMBLE_LETTERS, letters_height, true, false);
        set_font(IDC_SCRAMBLE_HELP, help_height, false, false);
        set_rich_background(GetDlgItem(page, IDC_SCRAMBLE_ANSWER), shell_.colours.page);
        return FALSE;
    }
};

}  // namespace

std::shared_ptr<HostedPage> show_scrambled_letters_page(Shell& shell) {
    return make_page<ScrambledLettersPage>(shell, IDD_SCRAMBLED);
}

}  // namespace kz::win

#include "pages/hangman_page.h"

#include <commctrl.h>

#include "display/rich_text_display.h"
#include "engine/exam_engine.h"
#include "host/page_host.h"
#include "host/question_page.h"
#include "resources/resource.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

constexpr int mask_height = 30;
constexpr int help_height = 13;
constexpr int icon_size = 16;
constexpr int tries = 5;

class HangmanPage final : public QuestionPage {
public:
    explicit HangmanPage(PageShell shell)
        : QuestionPage(shell,
                       {{Place::question, {IDC_QUESTION, IDC_QUESTION_IMAGE, IDC_HANGMAN_PLAY, IDC_HANGMAN_STOP}}}) {}

    void show_masked_answer(std::string_view masked) override { set_item_text(window(), IDC_HANGMAN_MASK, masked); }

    void show_tries_left(int tries_left, std::string_view text) override {
        set_item_text(window(), IDC_HANGMAN_TRIES_TEXT, text);
        HWND bar = GetDlgItem(window(), IDC_HANGMAN_TRIES_BAR);
        SendMessageW(bar, PBM_SETRANGE32, 0, tries);
        SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(tries_left), 0);
    }

    // The letter box, emptied after every letter tested.
    void clear_answer() override { show_rich_text(window(), IDC_HANGMAN_LETTER, ""); }

    HWND focus_control(Focus target) override {
        return target == Focus::letter_box ? GetDlgItem(window(), IDC_HANGMAN_LETTER) : nullptr;
    }

    HWND palette_control(PaletteTarget target) override {
        return target == PaletteTarget::letter_box ? GetDlgItem(window(), IDC_HANGMAN_LETTER) : nullptr;
    }

private:
    BOOL on_init_dialog() override {
        QuestionPage::on_init_dialog();
        HWND page = window();
        icon_.reset(static_cast<HICON>(LoadImageW(shell_.instance, MAKEINTRESOURCEW(IDI_TRIES), IMAGE_ICON,
                                                  icon_size, icon_size, 0)));
        SendDlgItemMessageW(page, IDC_HANGMAN_TRIES_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
        set_font(IDC_HANGMAN_MASK, mask_height, true, false);
        set_font(IDC_HANGMAN_HELP, help_height, false, false);
        // Enter in the letter box tests the letter; it never presses
        // "Suivant >", which would grade the word half found.
        give_keys_to_window(IDC_HANGMAN_LETTER);
        show_rich_text(page, IDC_HANGMAN_LETTER, "");
        return FALSE;
    }

    void on_command(int id, int notification) override {
        if (id == IDC_HANGMAN_TEST) {
            if (notification == BN_CLICKED) test_letter();
            return;
        }
        QuestionPage::on_command(id, notification);
    }

    void on_enter(int control) override {
        if (control == IDC_HANGMAN_LETTER) {
            test_letter();
        } else {
            press_next();
        }
    }

    // The box is read as the answer box is: a sign of the Symbol font gives
    // its byte. The engine empties the box and gives it the focus again.
    void test_letter() { shell_.engine.test_letter(rich_edit_text(window(), IDC_HANGMAN_LETTER)); }

    OwnedIcon icon_;
};

}  // namespace

std::shared_ptr<HostedPage> show_hangman_page(Shell& shell) {
    return make_page<HangmanPage>(shell, IDD_HANGMAN);
}

}  // namespace kz::win

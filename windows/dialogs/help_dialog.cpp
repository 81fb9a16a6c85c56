#include "dialogs/help_dialog.h"

#include "display/rich_text_display.h"
#include "resources/resource.h"
#include "win32/dialog_window.h"

namespace kz::win {
namespace {

class HelpDialog final : public DialogWindow {
public:
    explicit HelpDialog(std::string_view rich_text) : rich_text_(rich_text) {}

private:
    BOOL on_init_dialog() override {
        show_rich_text(window(), IDC_HELP_TEXT, rich_text_);
        set_rich_background(GetDlgItem(window(), IDC_HELP_TEXT), GetSysColor(COLOR_BTNFACE));
        // "&Fermer" has the focus, so Enter or Escape closes the help at once.
        SetFocus(GetDlgItem(window(), IDOK));
        return FALSE;
    }

    void on_command(int id, int /*notification*/) override {
        if (id == IDOK || id == IDCANCEL) EndDialog(window(), 0);
    }

    bool on_close() override {
        EndDialog(window(), 0);
        return true;
    }

    std::string_view rich_text_;
};

}  // namespace

void show_help_dialog(HWND owner, std::string_view rich_text) {
    HelpDialog dialog(rich_text);
    dialog.run_modal(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)), IDD_HELP, owner);
}

}  // namespace kz::win

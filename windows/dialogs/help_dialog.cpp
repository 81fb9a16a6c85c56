#include "dialogs/help_dialog.h"

#include "display/rich_text_display.h"
#include "resources/resource.h"

namespace kz::win {
namespace {

BOOL on_init_dialog(HWND window, std::string_view rich_text) {
    show_rich_text(window, IDC_HELP_TEXT, rich_text);
    set_rich_background(GetDlgItem(window, IDC_HELP_TEXT), GetSysColor(COLOR_BTNFACE));
    // "&Fermer" has the focus, so Enter or Escape closes the help at once.
    SetFocus(GetDlgItem(window, IDOK));
    return FALSE;
}

INT_PTR CALLBACK help_dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        return on_init_dialog(window, *reinterpret_cast<const std::string_view*>(lparam));
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    case WM_CLOSE:
        EndDialog(window, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void show_help_dialog(HWND owner, std::string_view rich_text) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    DialogBoxParamW(instance ? instance : GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_HELP), owner,
                    help_dialog_proc, reinterpret_cast<LPARAM>(&rich_text));
}

}  // namespace kz::win

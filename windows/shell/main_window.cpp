// The main exam window: the fixed frame (title band, logo, buttons, icons)
// around the current page.
#include "shell/main_window.h"

#include "common/gdi_handle.h"
#include "common/win_text.h"
#include "res/resource.h"
#include "shell/about_box.h"

namespace kz::win {
namespace {

struct MainWindow {
    RunnerState& runner;
    HWND window = nullptr;
    OwnedFont title_font;
};

// A copy of the control's font with another height, made bold or underlined,
// set on the control. The caller owns the new font.
HFONT make_font(HWND dialog, int control, int height, bool bold, bool underline) {
    HWND item = GetDlgItem(dialog, control);
    LOGFONTW description = {};
    auto current = reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0));
    GetObjectW(current ? current : GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfHeight = height;
    if (bold) description.lfWeight = FW_BOLD;
    description.lfUnderline = underline ? TRUE : FALSE;
    HFONT font = CreateFontIndirectW(&description);
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return font;
}

BOOL on_init_dialog(MainWindow& self, HWND window) {
    self.window = window;
    set_item_text(window, IDC_TITLE, self.runner.quiz.quiz_name);
    self.title_font.reset(make_font(window, IDC_TITLE, 20, true, false));
    return TRUE;
}

void on_command(MainWindow& self, int id) {
    switch (id) {
    case IDC_ABOUT:
        show_about_box(self.window, self.runner.quiz);
        break;
    case IDC_QUIT:
    case IDCANCEL:
        EndDialog(self.window, 1);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(window, DWLP_USER, lparam);
        return on_init_dialog(*reinterpret_cast<MainWindow*>(lparam), window);
    case WM_COMMAND:
        if (self) on_command(*self, LOWORD(wparam));
        return TRUE;
    case WM_CLOSE:
        if (self) on_command(*self, IDC_QUIT);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR run_main_window(RunnerState& runner) {
    MainWindow self{runner, nullptr, {}};
    return DialogBoxParamW(runner.instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, main_window_proc,
                           reinterpret_cast<LPARAM>(&self));
}

}  // namespace kz::win

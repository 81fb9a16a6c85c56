#include "host/hosted_page.h"

#include <commctrl.h>

#include <algorithm>

#include "host/page_host.h"

namespace kz::win {

INT_PTR HostedPage::on_ctl_color(UINT message, HDC dc, HWND control) {
    switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return on_ctl_color(dc, control);
    case WM_CTLCOLORDLG:
        return page_brush();
    default:
        return FALSE;
    }
}

void host_page(const std::shared_ptr<HostedPage>& page, int template_id, Shell& shell) {
    show_page(shell, template_id, static_cast<DialogWindow*>(page.get()));
}

INT_PTR HostedPage::on_ctl_color(HDC dc, HWND /*control*/) const { return page_control_colours(shell_, dc); }

namespace {

// A one-line box (the hangman's letter box) does not ask the dialog for
// Enter, which then presses the default button before the box sees the key:
// the boxes that give their keys to the window ask for it, so that the page
// decides what Enter does there.
LRESULT CALLBACK wants_enter(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR) {
    if (message == WM_GETDLGCODE) {
        LRESULT code = DefSubclassProc(control, message, wparam, lparam);
        const auto* key = reinterpret_cast<const MSG*>(lparam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
        return code;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, wants_enter, id);
    return DefSubclassProc(control, message, wparam, lparam);
}

}  // namespace

void HostedPage::give_keys_to_window(int control) {
    HWND item = GetDlgItem(window(), control);
    if (!item) return;
    window_keys_.push_back(control);
    SetWindowSubclass(item, wants_enter, 0, 0);
    const auto mask = static_cast<LPARAM>(SendMessageW(item, EM_GETEVENTMASK, 0, 0));
    SendMessageW(item, EM_SETEVENTMASK, 0, mask | ENM_KEYEVENTS);
}

// Enter (without Ctrl) and Tab of a control that gives them to the window;
// true when the key is kept from the control.
bool HostedPage::on_key_filter(const MSGFILTER& filter) {
    const int control = static_cast<int>(filter.nmhdr.idFrom);
    if (std::find(window_keys_.begin(), window_keys_.end(), control) == window_keys_.end()) return false;
    if (GetKeyState(VK_CONTROL) & 0x8000) return false;
    const bool key_down = filter.msg == WM_KEYDOWN;
    const bool character = filter.msg == WM_CHAR;
    if ((key_down && filter.wParam == VK_RETURN) || (character && (filter.wParam == L'\r' || filter.wParam == L'\n'))) {
        if (key_down) on_enter(control);
        return true;
    }
    if ((key_down && filter.wParam == VK_TAB) || (character && filter.wParam == L'\t')) {
        if (key_down) {
            const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            // The page is a child of the main window, whose dialog manager
            // moves through the page's controls and the frame's.
            PostMessageW(GetParent(window()), WM_NEXTDLGCTL, backwards ? 1 : 0, FALSE);
        }
        return true;
    }
    return false;
}

void HostedPage::show_controls(std::initializer_list<int> ids, bool visible) const {
    for (const int id : ids) ShowWindow(GetDlgItem(window(), id), visible ? SW_SHOW : SW_HIDE);
}

}  // namespace kz::win

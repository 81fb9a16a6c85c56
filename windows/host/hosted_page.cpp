#include "host/hosted_page.h"

#include <commctrl.h>

#include <algorithm>

#include "host/page_host.h"

namespace kz::win {

void HostedPage::attach(HWND window, LPARAM parameter) {
    auto* page = reinterpret_cast<HostedPage*>(parameter);
    if (!page) return;
    page->window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, parameter);
}

void HostedPage::detach(HWND window) {
    auto* page = reinterpret_cast<HostedPage*>(GetWindowLongPtrW(window, DWLP_USER));
    if (page) page->window_ = nullptr;
    SetWindowLongPtrW(window, DWLP_USER, 0);
}

std::shared_ptr<HostedPage> HostedPage::of(HWND window) {
    auto* page = reinterpret_cast<HostedPage*>(GetWindowLongPtrW(window, DWLP_USER));
    return page ? page->shared_from_this() : nullptr;
}

INT_PTR CALLBACK HostedPage::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) attach(window, lparam);
    const auto page = of(window);
    if (!page) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        return page->on_init_dialog();
    case WM_COMMAND:
        page->on_command(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
        LRESULT result = 0;
        if (header.code == EN_MSGFILTER) {
            result = page->filter_key(*reinterpret_cast<const MSGFILTER*>(lparam)) ? 1 : 0;
        } else if (!page->on_notify(header, result)) {
            return FALSE;
        }
        SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_CONTEXTMENU:
        return page->on_context_menu(reinterpret_cast<HWND>(wparam),
                                     POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return page->on_ctl_color(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_CTLCOLORDLG:
        return page->page_brush();
    case WM_NCDESTROY:
        detach(window);
        return FALSE;
    default:
        return FALSE;
    }
}

void host_page(const std::shared_ptr<HostedPage>& page, int template_id, Shell& shell) {
    show_page(shell, template_id, HostedPage::procedure, reinterpret_cast<LPARAM>(page.get()));
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
    HWND item = GetDlgItem(window_, control);
    if (!item) return;
    window_keys_.push_back(control);
    SetWindowSubclass(item, wants_enter, 0, 0);
    const auto mask = static_cast<LPARAM>(SendMessageW(item, EM_GETEVENTMASK, 0, 0));
    SendMessageW(item, EM_SETEVENTMASK, 0, mask | ENM_KEYEVENTS);
}

// Enter (without Ctrl) and Tab of a control that gives them to the window;
// true when the key is kept from the control.
bool HostedPage::filter_key(const MSGFILTER& filter) {
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
            PostMessageW(GetParent(window_), WM_NEXTDLGCTL, backwards ? 1 : 0, FALSE);
        }
        return true;
    }
    return false;
}

void HostedPage::show_controls(std::initializer_list<int> ids, bool visible) const {
    for (const int id : ids) ShowWindow(GetDlgItem(window_, id), visible ? SW_SHOW : SW_HIDE);
}

}  // namespace kz::win

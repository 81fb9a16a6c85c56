#include "host/page_host.h"

#include "resources/resource.h"

namespace kz::win {
namespace {

// The page's place in the main window's client area, in pixels of a screen
// of 96 dots per inch: under the title band, left of the window's edge.
constexpr int page_left = 15;
constexpr int page_top = 85;

}  // namespace

HWND show_page(Shell& shell, int template_id, DialogWindow* page) {
    if (shell.page) {
        HWND old_page = shell.page;
        shell.page = nullptr;
        DestroyWindow(old_page);
    }
    // A page that disabled "Suivant >" (the home page's rules) takes its
    // rule with it.
    EnableWindow(shell.next_button, TRUE);

    HWND window = CreateDialogParamW(shell.runner.instance, MAKEINTRESOURCEW(template_id), shell.main_window,
                                     DialogWindow::procedure, reinterpret_cast<LPARAM>(page));
    if (!window) return nullptr;
    shell.page = window;
    // The page is made at its screen's dots per inch; the window around it
    // may be laid out for others (moved to another screen, or made smaller
    // to fit its screen).
    const DialogWindow* frame = DialogWindow::of(shell.main_window);
    if (frame && page && page->dpi() != frame->dpi()) {
        const int made_for = page->dpi();
        RECT size = {};
        GetWindowRect(window, &size);
        page->rescale(frame->dpi());
        SetWindowPos(window, nullptr, 0, 0, MulDiv(size.right - size.left, frame->dpi(), made_for),
                     MulDiv(size.bottom - size.top, frame->dpi(), made_for),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    place_page(shell);
    ShowWindow(window, SW_SHOW);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    return window;
}

void place_page(const Shell& shell) {
    if (!shell.page) return;
    SetWindowPos(shell.page, nullptr, scaled_pixels(shell.main_window, page_left),
                 scaled_pixels(shell.main_window, page_top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

OwnedBrush make_brush(COLORREF colour) { return OwnedBrush(CreateSolidBrush(colour)); }

int scaled_pixels(HWND window, int pixels) {
    const DialogWindow* dialog = DialogWindow::of(window);
    return MulDiv(pixels, dialog ? dialog->dpi() : window_dpi(window), standard_dpi);
}

void update_sound_icon(Shell& shell, bool muted) {
    OwnedIcon icon(static_cast<HICON>(LoadImageW(shell.runner.instance,
                                                 MAKEINTRESOURCEW(muted ? IDI_SOUND_OFF : IDI_SOUND_ON),
                                                 IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    if (!icon) return;
    // The new icon is set before the old one is destroyed, so the control
    // never shows a destroyed icon.
    SendDlgItemMessageW(shell.main_window, IDC_SOUND, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    shell.sound_icon = std::move(icon);
}

void set_palette_target(Shell& shell, HWND control, bool letter_test) {
    shell.palette = {control, control && letter_test, shell.palette.serial + 1};
    ShowWindow(GetDlgItem(shell.main_window, IDC_PALETTE), control ? SW_SHOW : SW_HIDE);
}

void clear_palette_target(Shell& shell) { set_palette_target(shell, nullptr, false); }

INT_PTR page_control_colours(const PageShell& shell, HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, shell.colours.text);
    return reinterpret_cast<INT_PTR>(shell.page_brush());
}

}  // namespace kz::win

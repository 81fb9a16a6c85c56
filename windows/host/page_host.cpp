#include "host/page_host.h"

#include "resources/resource.h"

namespace kz::win {
namespace {

// The page's place in the main window's client area, in pixels of a screen
// of 96 dots per inch: under the title band, left of the window's edge.
constexpr int page_left = 15;
constexpr int page_top = 85;
constexpr int standard_dpi = 96;

}  // namespace

HWND show_page(Shell& shell, int template_id, DLGPROC procedure, LPARAM parameter) {
    shell.page_objects.clear();
    if (shell.page) {
        HWND old_page = shell.page;
        shell.page = nullptr;
        DestroyWindow(old_page);
    }
    // A page that disabled "Suivant >" (the home page's rules) takes its
    // rule with it.
    EnableWindow(shell.next_button, TRUE);

    HWND page = CreateDialogParamW(shell.runner.instance, MAKEINTRESOURCEW(template_id), shell.main_window,
                                   procedure, parameter);
    if (!page) return nullptr;
    shell.page = page;
    SetWindowPos(page, nullptr, scaled_pixels(shell.main_window, page_left),
                 scaled_pixels(shell.main_window, page_top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(page, SW_SHOW);
    InvalidateRect(page, nullptr, TRUE);
    UpdateWindow(page);
    return page;
}

OwnedFont make_font(HWND dialog, int control, int height, bool bold, bool underline) {
    HWND item = GetDlgItem(dialog, control);
    if (!item) return {};
    LOGFONTW description = {};
    auto current = reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0));
    GetObjectW(current ? static_cast<HGDIOBJ>(current) : GetStockObject(DEFAULT_GUI_FONT), sizeof description,
               &description);
    description.lfHeight = scaled_pixels(dialog, height);
    if (bold) description.lfWeight = FW_BOLD;
    description.lfUnderline = underline ? TRUE : FALSE;
    OwnedFont font(CreateFontIndirectW(&description));
    if (font) SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    return font;
}

OwnedBrush make_brush(COLORREF colour) { return OwnedBrush(CreateSolidBrush(colour)); }

int scaled_pixels(HWND window, int pixels) {
    HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : standard_dpi;
    if (dc) ReleaseDC(window, dc);
    return MulDiv(pixels, dpi > 0 ? dpi : standard_dpi, standard_dpi);
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
    shell.palette_target = control;
    shell.letter_test = letter_test;
    ++shell.palette_target_serial;
    ShowWindow(GetDlgItem(shell.main_window, IDC_PALETTE), control ? SW_SHOW : SW_HIDE);
}

void clear_palette_target(Shell& shell) {
    shell.palette_target = nullptr;
    shell.letter_test = false;
    ++shell.palette_target_serial;
    ShowWindow(GetDlgItem(shell.main_window, IDC_PALETTE), SW_HIDE);
}

INT_PTR page_control_colours(const PageShell& shell, HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, shell.colours.text);
    return reinterpret_cast<INT_PTR>(shell.page_brush());
}

}  // namespace kz::win

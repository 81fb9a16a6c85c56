#include "win32/dialog_window.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>

#include "win32/rich_edit_stream.h"

namespace kz::win {
namespace {

// Functions of Windows 10 and later, looked up when first needed so that the
// runner still starts on the systems before it.
template <class Function>
Function user32_function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS,
                                                         DIALOG_DPI_CHANGE_BEHAVIORS);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// A child window's rectangle in its parent's client area; a drop-down list
// with its list, which is the height it is given.
RECT rect_in_parent(HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    wchar_t class_name[16] = {};
    GetClassNameW(child, class_name, 16);
    if (lstrcmpiW(class_name, L"ComboBox") == 0) {
        RECT dropped = {};
        if (SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
            rect.bottom = rect.top + (dropped.bottom - dropped.top);
    }
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HFONT font_of(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

LOGFONTW description_of(HFONT font) {
    LOGFONTW description = {};
    GetObjectW(font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT), sizeof description,
               &description);
    return description;
}

// A font of the description, for a layout at these dots per inch. A face
// drawn from fixed sizes made for 96 dots per inch (the raster "MS Sans
// Serif" of the dialog templates) is drawn at any other in its scalable
// twin: stretched, its letters come out blocky or far apart.
OwnedFont create_font(HWND window, LOGFONTW description, int dpi) {
    OwnedFont font(CreateFontIndirectW(&description));
    HDC dc = font && dpi != standard_dpi ? GetDC(window) : nullptr;
    if (!dc) return font;
    TEXTMETRICW metrics = {};
    const HGDIOBJ before = SelectObject(dc, font.get());
    const bool measured = GetTextMetricsW(dc, &metrics) != 0;
    SelectObject(dc, before);
    ReleaseDC(window, dc);
    if (!measured || (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) != 0) return font;
    constexpr wchar_t scalable[] = L"Microsoft Sans Serif";
    std::copy(std::begin(scalable), std::end(scalable), description.lfFaceName);
    description.lfWidth = 0;
    OwnedFont twin(CreateFontIndirectW(&description));
    return twin ? std::move(twin) : std::move(font);
}

bool is_rich_edit(HWND control) {
    wchar_t class_name[16] = {};
    GetClassNameW(control, class_name, 16);
    return _wcsnicmp(class_name, L"RichEdit", 8) == 0;
}

// A rich-edit control's text, taken out as rich text and put back, with the
// selection and the first line shown: laid out anew in the control's fonts
// of now. Some rich-edit controls (Wine's) keep the fonts of the zoom that a
// text was first laid out with.
void lay_out_again(HWND control) {
    const std::string rich_text = stream_out(control, SF_RTF);
    if (rich_text.empty()) return;
    CHARRANGE selection = {};
    SendMessageW(control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const auto first_line = SendMessageW(control, EM_GETFIRSTVISIBLELINE, 0, 0);
    stream_in(control, SF_RTF, rich_text);
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessageW(control, WM_VSCROLL, SB_TOP, 0);
    SendMessageW(control, EM_LINESCROLL, 0, first_line);
}

// Rich-edit controls turn the points of their texts into pixels at the
// dots per inch of the screen's device context, which is the system's and
// not the monitor's. Zoomed by the dialog's dots per inch over those, their
// texts grow with the layout around them.
void zoom_rich_edits(HWND dialog, int dpi) {
    static const int drawn_at = [] {
        HDC screen = GetDC(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : standard_dpi;
        if (screen) ReleaseDC(nullptr, screen);
        return dpi > 0 ? dpi : standard_dpi;
    }();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!is_rich_edit(child)) continue;
        // Zoom off where the two agree, so the control draws as it always has.
        const bool off = dpi == drawn_at;
        int numerator = 0, denominator = 0;
        SendMessageW(child, EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator), reinterpret_cast<LPARAM>(&denominator));
        const bool was_off = numerator == 0 || denominator == 0;
        if (off ? was_off : !was_off && numerator * drawn_at == dpi * denominator) continue;
        SendMessageW(child, EM_SETZOOM, off ? 0 : static_cast<WPARAM>(dpi), off ? 0 : drawn_at);
        lay_out_again(child);
    }
}

}  // namespace

int window_dpi(HWND window) {
    static const auto get_dpi_for_window = user32_function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (get_dpi_for_window && window) {
        const UINT dpi = get_dpi_for_window(window);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : standard_dpi;
    if (dc) ReleaseDC(window, dc);
    return dpi > 0 ? dpi : standard_dpi;
}

DialogWindow::~DialogWindow() {
    // A window that outlives its object no longer reaches it.
    if (window_) SetWindowLongPtrW(window_, DWLP_USER, 0);
}

DialogWindow* DialogWindow::of(HWND window) {
    if (!window || GetWindowLongPtrW(window, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&procedure)) return nullptr;
    return reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
}

INT_PTR DialogWindow::run_modal(HINSTANCE instance, int template_id, HWND owner) {
    return DialogBoxParamW(instance ? instance : GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id), owner,
                           procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG && lparam) reinterpret_cast<DialogWindow*>(lparam)->attach(window);
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return FALSE;
    const std::shared_ptr<void> alive = self->keep_alive();
    if (message == WM_NCDESTROY) {
        self->detach();
        return FALSE;
    }
    return self->handle(message, wparam, lparam);
}

void DialogWindow::attach(HWND window) {
    window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    dpi_ = window_dpi(window);
    zoom_rich_edits(window, dpi_);
    // The dialog lays itself out again when its dots per inch change; the
    // system doing it too would scale it twice.
    static const auto set_behaviour =
        user32_function<SetDialogDpiChangeBehaviorFunction>("SetDialogDpiChangeBehavior");
    if (set_behaviour) set_behaviour(window, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
}

void DialogWindow::detach() {
    SetWindowLongPtrW(window_, DWLP_USER, 0);
    window_ = nullptr;
    // Its controls are gone: nothing shows the fonts any more.
    fonts_.clear();
    template_font_.reset();
}

INT_PTR DialogWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        return on_init_dialog();
    case WM_COMMAND:
        on_command(LOWORD(wparam), HIWORD(wparam));
        return TRUE;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
        LRESULT result = 0;
        if (header.code == EN_MSGFILTER) {
            result = on_key_filter(*reinterpret_cast<const MSGFILTER*>(lparam)) ? 1 : 0;
        } else if (!on_notify(header, result)) {
            return FALSE;
        }
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return on_ctl_color(message, reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_TIMER:
        return on_timer(wparam) ? TRUE : FALSE;
    case WM_CONTEXTMENU:
        return on_context_menu(reinterpret_cast<HWND>(wparam),
                               POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
    case WM_CLOSE:
        return on_close() ? TRUE : FALSE;
    case WM_DESTROY:
        on_destroy();
        return FALSE;
    case WM_DPICHANGED:
        if (!lparam) return FALSE;
        on_dpi_changed(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, 0);
        return TRUE;
    default:
        return on_message(message, wparam, lparam).value_or(FALSE);
    }
}

int DialogWindow::scaled(int pixels) const { return MulDiv(pixels, dpi_, standard_dpi); }

void DialogWindow::make_font(ControlFont& owned) {
    HWND item = GetDlgItem(window_, owned.control);
    LOGFONTW description = owned.description;
    description.lfHeight = scaled(owned.height);
    OwnedFont font = create_font(window_, description, dpi_);
    if (!item || !font) return;
    // The new font is set before the old one is deleted, so the control
    // never shows a deleted font.
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    owned.font = std::move(font);
}

void DialogWindow::set_font(int control, int height, bool bold, bool underline) {
    HWND item = GetDlgItem(window_, control);
    if (!item) return;
    ControlFont wanted{control, height, description_of(font_of(item)), {}};
    if (bold) wanted.description.lfWeight = FW_BOLD;
    wanted.description.lfUnderline = underline ? TRUE : FALSE;
    for (ControlFont& owned : fonts_) {
        if (owned.control != control) continue;
        owned.height = height;
        owned.description = wanted.description;
        make_font(owned);
        return;
    }
    make_font(wanted);
    if (wanted.font) fonts_.push_back(std::move(wanted));
}

void DialogWindow::rescale(int new_dpi) {
    if (!window_ || new_dpi <= 0 || new_dpi == dpi_) return;
    const int old_dpi = dpi_;
    dpi_ = new_dpi;

    // The controls in the template's font get it at the new size.
    HFONT template_font = font_of(window_);
    if (template_font_) template_font = template_font_.get();
    OwnedFont resized;
    if (template_font) {
        LOGFONTW description = description_of(template_font);
        description.lfHeight = MulDiv(description.lfHeight, new_dpi, old_dpi);
        resized = create_font(window_, description, new_dpi);
    }

    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT rect = rect_in_parent(child);
        const int left = MulDiv(rect.left, new_dpi, old_dpi), top = MulDiv(rect.top, new_dpi, old_dpi);
        SetWindowPos(child, nullptr, left, top, MulDiv(rect.right, new_dpi, old_dpi) - left,
                     MulDiv(rect.bottom, new_dpi, old_dpi) - top, SWP_NOZORDER | SWP_NOACTIVATE);
        // A rich-edit control sets a font given to it on all its text, whose
        // runs have fonts of their own: it is zoomed instead (below).
        if (resized && template_font && !is_rich_edit(child) && font_of(child) == template_font)
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(resized.get()), TRUE);
        if (DialogWindow* inner = of(child)) inner->rescale(new_dpi);
    }
    if (resized) template_font_ = std::move(resized);
    for (ControlFont& owned : fonts_)
        if (!is_rich_edit(GetDlgItem(window_, owned.control))) make_font(owned);
    zoom_rich_edits(window_, new_dpi);

    on_rescaled(old_dpi);
    InvalidateRect(window_, nullptr, TRUE);
}

void DialogWindow::set_client_size(SIZE client, int frame_dpi) {
    // The frame around the client area is the system's at those dots per
    // inch where it can tell, else the one it would draw now; whatever
    // the frame turns out to be, the client area is then set right.
    RECT frame = {0, 0, client.cx, client.cy};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
    const auto extended = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
    static const auto adjust_for_dpi = user32_function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    if (!adjust_for_dpi || !adjust_for_dpi(&frame, style, FALSE, extended, static_cast<UINT>(frame_dpi)))
        AdjustWindowRectEx(&frame, style, FALSE, extended);
    constexpr UINT resize_only = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, resize_only);
    RECT now = {}, outer = {};
    GetClientRect(window_, &now);
    if (now.right == client.cx && now.bottom == client.cy) return;
    GetWindowRect(window_, &outer);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left + client.cx - now.right,
                 outer.bottom - outer.top + client.cy - now.bottom, resize_only);
}

void DialogWindow::on_dpi_changed(int new_dpi, const RECT& suggested) {
    if (new_dpi <= 0) return;
    // The window goes where the system suggests, its client area grown with
    // the layout; it takes its size before the layout, so that a dialog that
    // fits itself to its content (`on_rescaled`) does it last.
    RECT client = {};
    GetClientRect(window_, &client);
    const SIZE grown = {MulDiv(client.right, new_dpi, dpi_), MulDiv(client.bottom, new_dpi, dpi_)};
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    set_client_size(grown, new_dpi);
    rescale(new_dpi);
}

}  // namespace kz::win

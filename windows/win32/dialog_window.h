#pragma once
// What every dialog of the runner is built on, modal or modeless, the main
// window and its pages included: one dialog procedure that finds the object
// behind the window and calls its handlers, the fonts the dialog sets on its
// controls (owned by it, freed with its window), and its layout at the dots
// per inch of the screen it is on.
//
// A modal dialog's object lives in the frame that runs it, which returns
// only once the window has gone. A modeless one (a page of the main window)
// may be let go by its owner while one of its own handlers runs (a command
// that makes the exam replace the page): such an object gives `keep_alive`,
// which the procedure holds while each message is handled.
#include <windows.h>

#include <richedit.h>

#include <memory>
#include <optional>
#include <vector>

#include "win32/gdi_handle.h"

namespace kz::win {

// Dots per inch of a screen whose pixels are the sizes the runner is drawn in.
inline constexpr int standard_dpi = 96;

// The dots per inch of the screen the window is on, as the system scales it
// for this program; the whole screen's where the system cannot tell one
// window's (before Windows 10).
int window_dpi(HWND window);

class DialogWindow {
public:
    DialogWindow() = default;
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // The dialog's window; none before it is created and once it is destroyed.
    HWND window() const { return window_; }

    // The dialog behind a window made with this procedure; none for another.
    static DialogWindow* of(HWND window);

    // Runs the dialog of this template modally over the owner; the dialog's
    // result, or -1 when it could not be created.
    INT_PTR run_modal(HINSTANCE instance, int template_id, HWND owner);

    // The procedure of every dialog: `parameter` of WM_INITDIALOG is the
    // dialog (a DialogWindow*), whose handlers then get every message.
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    // The dots per inch the dialog is laid out for.
    int dpi() const { return dpi_; }
    // Pixels of a screen of 96 dots per inch, at the dialog's dots per inch.
    int scaled(int pixels) const;

    // Lays the dialog out again for another number of dots per inch: its
    // controls' places and sizes, their fonts, and the dialogs inside it (the
    // main window's page). Its own window's size is the caller's.
    void rescale(int new_dpi);

protected:
    // Sizes the window so that its client area has this size, in a frame
    // drawn at these dots per inch.
    void set_client_size(SIZE client, int frame_dpi);

    // A copy of the control's font `height` pixels high (of a screen of 96
    // dots per inch), bold and underlined as asked, set on the control. The
    // dialog keeps it while its window exists and makes it again when its
    // dots per inch change.
    void set_font(int control, int height, bool bold, bool underline);

    // The handlers. Those returning bool say whether they handled the message.
    virtual BOOL on_init_dialog() { return TRUE; }
    virtual void on_command(int /*id*/, int /*notification*/) {}
    // The result of a handled notification goes in `result`.
    virtual bool on_notify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // A key typed in a rich-edit control that sends its key events; true
    // when the key is kept from the control.
    virtual bool on_key_filter(const MSGFILTER& /*filter*/) { return false; }
    // WM_CTLCOLOR...: the brush, or FALSE for the system's colours.
    virtual INT_PTR on_ctl_color(UINT /*message*/, HDC /*dc*/, HWND /*control*/) { return FALSE; }
    virtual bool on_timer(UINT_PTR /*timer*/) { return false; }
    virtual bool on_context_menu(HWND /*control*/, POINT /*at*/) { return false; }
    // The close box, Alt+F4.
    virtual bool on_close() { return false; }
    virtual void on_destroy() {}
    // The window moved to a screen of other dots per inch: by default the
    // dialog takes the place the system suggests and is laid out again.
    virtual void on_dpi_changed(int new_dpi, const RECT& suggested);
    // After `rescale`: what the dialog sizes or places itself.
    virtual void on_rescaled(int /*old_dpi*/) {}
    // Any other message; nothing leaves it to the system.
    virtual std::optional<INT_PTR> on_message(UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/) {
        return std::nullopt;
    }

    // What keeps the object alive while its window handles a message; none
    // for a dialog whose owner outlives its window.
    virtual std::shared_ptr<void> keep_alive() { return nullptr; }

private:
    struct ControlFont {
        int control = 0;
        int height = 0;
        LOGFONTW description = {};  // the face and style, before its height
        OwnedFont font;
    };

    INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam);
    void attach(HWND window);
    void detach();
    void make_font(ControlFont& owned);

    HWND window_ = nullptr;
    int dpi_ = standard_dpi;
    std::vector<ControlFont> fonts_;
    OwnedFont template_font_;  // the template's font at the dots per inch it was laid out again for
};

}  // namespace kz::win

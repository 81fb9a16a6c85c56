#pragma once
// The page host and the small operations every page and dialog of the main
// window uses: replacing the current page, fonts and brushes, the sound icon
// and the special-characters target, and the colours of pages.
#include <windows.h>

#include "host/shell.h"
#include "win32/dialog_window.h"
#include "win32/gdi_handle.h"

namespace kz::win {

// Replaces the current page: destroys the old one, creates the new page's
// window from its template as a child of the main window, lays it out at the
// main window's dots per inch, places it, shows and paints it. Returns the
// new page's window, or none when it could not be created.
HWND show_page(Shell& shell, int template_id, DialogWindow* page);

// Puts the current page at (15, 85) of the main window's client area.
void place_page(const Shell& shell);

OwnedBrush make_brush(COLORREF colour);

// Pixels of a screen of 96 dots per inch, in pixels of the window: at the
// dots per inch a dialog of the runner is laid out for, else at its screen's.
int scaled_pixels(HWND window, int pixels);

// The sound toggle shows the loudspeaker, or the crossed-out one when muted.
void update_sound_icon(Shell& shell, bool muted);

// The answer box that the special-characters palette inserts into; its icon
// is shown while there is one.
void set_palette_target(Shell& shell, HWND control, bool letter_test);
void clear_palette_target(Shell& shell);

// The colours of a page's static and edit controls: the quiz's text colour on
// the page's colour, without a box behind the text. Returns the page brush.
INT_PTR page_control_colours(const PageShell& shell, HDC dc);

}  // namespace kz::win

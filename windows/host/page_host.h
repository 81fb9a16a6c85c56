#pragma once
// The page host and the small operations every page and dialog of the main
// window uses: replacing the current page, fonts and brushes, the sound icon
// and the special-characters target, and the colours of pages.
#include <windows.h>

#include "host/shell.h"
#include "win32/gdi_handle.h"

namespace kz::win {

// Replaces the current page: deletes the objects kept for the old one,
// destroys it, creates the new page from its template as a child of the main
// window, places it at (15, 85) of the window's client area, shows and paints
// it. Returns the new page, or none when it could not be created.
HWND show_page(Shell& shell, int template_id, DLGPROC procedure, LPARAM parameter);

// A copy of the control's font with another height (in pixels of a screen of
// 96 dots per inch, scaled to the window's), bold and underlined as asked,
// set on the control. The caller keeps it while the control shows it.
OwnedFont make_font(HWND dialog, int control, int height, bool bold, bool underline);

OwnedBrush make_brush(COLORREF colour);

// Pixels of a screen of 96 dots per inch, in pixels of the window's screen.
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

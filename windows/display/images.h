#pragma once
// Pictures of the quiz (Windows bitmap files): fitted into the picture
// controls of the window and the pages, and shown at natural size in the
// preview window when the student clicks one.
#include <windows.h>

#include <filesystem>

#include "win32/gdi_handle.h"

namespace kz::win {

// Loads the bitmap file and sets it as the image of the dialog's picture
// control. Each side is limited to its maximum on its own (the picture is
// stretched, its proportions are not kept); a maximum of 0 on either side
// keeps the natural size. The caller owns the bitmap and keeps it as long as
// the control shows it. Nothing, and the control unchanged, when the file is
// not a bitmap that can be read.
OwnedBitmap load_fitted_bitmap(HWND dialog, int id, const std::filesystem::path& file, int max_width,
                               int max_height);

// The preview window (dialog 116): the picture at its natural size, centred
// on the screen; a picture too large for the work area is reduced, keeping
// its proportions, so that the whole window fits it. Modal, without owner; it closes as soon as it loses the
// activation, on a click, on Enter, Escape or its close box. `resources` is
// the module holding dialog 116, the program itself when not given.
void show_image_preview(const std::filesystem::path& file, HINSTANCE resources = nullptr);

}  // namespace kz::win

#pragma once
// The special-characters palette (dialog 118): characters a keyboard may lack,
// by category, inserted in their own font into the answer box of the current
// question; on the hangman page each one is tested as a letter at once.
#include <windows.h>

#include "host/shell.h"

namespace kz::win {

// Runs the palette modally over the main window for the current palette
// target. Returns 1 after an insertion that closed it, 2 after
// "&Annuler"/"&Fermer", 0 after the close box, or when the question it was
// opened for has gone (the time limit ran out meanwhile).
INT_PTR show_palette_dialog(Shell& shell);

}  // namespace kz::win

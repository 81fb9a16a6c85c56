#pragma once
#include <windows.h>

#include "host/runner_state.h"

namespace kz::win {

// Runs the main exam window (dialog 101) modally until the student quits.
// Returns the dialog's result, or -1 when it could not be created.
INT_PTR run_main_window(RunnerState& runner);

}  // namespace kz::win

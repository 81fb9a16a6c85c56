#pragma once
// The correction of training mode: after a wrong answer, "Réponse fausse !",
// the message of the exam type, the right answers (texts, pictures or sounds)
// and the question's comment, in a dialog no taller than what it shows.
#include <windows.h>

#include <string_view>

#include "exam/correction_request.h"
#include "host/shell.h"

namespace kz::win {

// Runs the correction dialog (dialog 119) modally over the main window until
// the student closes it. The comment is the question's, as stored (rich text
// or media reference). Returns 1 for "&Continuer", 0 for the close box (or
// Escape), which also stops the sound and the music.
int show_correction_dialog(Shell& shell, const CorrectionRequest& request, std::string_view comment);

}  // namespace kz::win

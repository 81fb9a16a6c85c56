#pragma once
// The correction of training mode after a wrong answer: "Réponse fausse !",
// the message line, the right answers and the question's comment. Pictures
// and sounds among them are listed by their labels and can be opened or
// played until the next answer. Like a box with one button, it does not wait.
#include <string_view>

#include "console.h"
#include "exam/correction_request.h"
#include "media_menu.h"

namespace kz::term {

void show_correction_dialog(Console& console, MediaMenu& menu, const CorrectionRequest& request,
                            std::string_view comment);

}  // namespace kz::term

#pragma once
// The help dialog ("Aide"): the quiz's help text with the values of this
// moment (the score so far during an exam).
#include <string_view>

#include "console.h"

namespace kz::term {

void show_help_dialog(Console& console, std::string_view help_text);

}  // namespace kz::term

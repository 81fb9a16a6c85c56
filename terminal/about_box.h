#pragma once
// The About box ("À propos du questionnaire"): the quiz's name, author and
// comment, the program it was made with, and the maker's web site, which
// ":site" opens.
#include <string>

#include "console.h"
#include "quiz/quiz_model.h"

namespace kz::term {

void show_about_box(Console& console, const QuizModel& model);

}  // namespace kz::term

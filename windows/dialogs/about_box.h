#pragma once
// The About box: which quiz this is (name, author, comment), with which
// version of the authoring product it was made, and the maker's web site.
#include <windows.h>

#include "quiz/quiz_model.h"

namespace kz::win {

// Runs the About box (dialog 117) modally over the owner until the student
// closes it.
void show_about_box(HWND owner, const QuizModel& quiz);

}  // namespace kz::win

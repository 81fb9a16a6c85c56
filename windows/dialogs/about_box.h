#pragma once
// The About box: which quiz this is (name, author, comment), with which
// version of the authoring product it was made, and the maker's web site.
#include <windows.h>

#include "host/page_objects.h"
#include "quiz/quiz_model.h"

namespace kz::win {

// Runs the About box (dialog 117) modally over the owner until the student
// closes it. Its fonts join the current page's objects (slots 1 to 3) and go
// with them at the next page change.
void show_about_box(HWND owner, const QuizModel& quiz, PageObjects& page_objects);

}  // namespace kz::win

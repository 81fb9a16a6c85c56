#pragma once
// The help dialog: the quiz's help text with the values of the moment (the
// score so far during an exam).
#include <windows.h>

#include <string_view>

namespace kz::win {

// Runs the help dialog (dialog 115) modally over the owner until the student
// closes it.
void show_help_dialog(HWND owner, std::string_view rich_text);

}  // namespace kz::win

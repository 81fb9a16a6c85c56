#include "host/shell.h"

#include "resources/resource.h"

namespace kz::win {

QuizColours QuizColours::of(const QuizModel& quiz) {
    // The quiz stores each colour as 0x00BBGGRR, a Windows colour value.
    auto colour = [](std::int32_t value) { return static_cast<COLORREF>(value) & 0x00FFFFFF; };
    return QuizColours{colour(quiz.title_band_colour), colour(quiz.window_colour), colour(quiz.page_colour),
                       colour(quiz.title_text_colour), colour(quiz.text_colour)};
}

void NextButton::press() const {
    if (IsWindowVisible(button_) && IsWindowEnabled(button_))
        PostMessageW(frame_, WM_COMMAND, MAKEWPARAM(IDC_NEXT, BN_CLICKED), reinterpret_cast<LPARAM>(button_));
}

void NextButton::allow(bool allowed) const { EnableWindow(button_, allowed ? TRUE : FALSE); }

}  // namespace kz::win

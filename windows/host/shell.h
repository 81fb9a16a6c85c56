#pragma once
// What the main window and its pages share while the quiz runs: the frame's
// handles, the current page, the brushes of the quiz's
// colours, the sound icon and the special-characters target. One instance,
// owned by the main window for as long as it exists.
#include <windows.h>

#include "host/runner_state.h"
#include "win32/gdi_handle.h"

namespace kz {
class ExamEngine;
}

namespace kz::win {

// The quiz's five colours.
struct QuizColours {
    COLORREF title_band = 0;  // background of the title band
    COLORREF window = 0;      // the frame and its controls
    COLORREF page = 0;        // every page and the rich-text boxes on pages
    COLORREF title_text = 0;  // the quiz's name in the title band
    COLORREF text = 0;        // static texts of the frame and of pages

    static QuizColours of(const QuizModel& quiz);
};

struct Shell {
    explicit Shell(RunnerState& state) : runner(state), colours(QuizColours::of(state.quiz)) {}
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    RunnerState& runner;
    ExamEngine* engine = nullptr;  // every decision of the exam is its own

    HWND main_window = nullptr;
    HWND next_button = nullptr;
    HWND page = nullptr;  // the current page, none before the first
    HWND chosen_focus = nullptr;  // the control last given the focus for the student

    QuizColours colours;
    OwnedBrush window_brush;
    OwnedBrush title_brush;
    OwnedBrush page_brush;

    OwnedIcon sound_icon;           // the icon the sound toggle shows now
    HWND palette_target = nullptr;  // where the special-characters palette inserts
    bool letter_test = false;       // the palette presses the hangman's letter test after inserting
    unsigned palette_target_serial = 0;  // changes with every new target, and when it is cleared

    // The pictures of every play and stop button of the pages and dialogs,
    // loaded once for the window.
    OwnedBitmap play_bitmap;
    OwnedBitmap stop_bitmap;

    OwnedBitmap logo;
    OwnedBitmap banner;
};

}  // namespace kz::win

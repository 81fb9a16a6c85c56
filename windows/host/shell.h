#pragma once
// What the main window and its pages share while the quiz runs: the frame's
// handles, the current page, the quiz's colours and the pages' brush, the
// sound icon, the special-characters target and the play and stop pictures.
// One instance, owned by the main window for as long as it exists.
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

// Where the special-characters palette inserts: an answer box of the page
// shown, and whether the hangman's letter test follows. A palette opened for
// one target knows by the serial number that it is still the current one.
struct PaletteSlot {
    HWND target = nullptr;
    bool letter_test = false;
    unsigned serial = 0;  // changes with every new target, and when it is cleared
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
    OwnedBrush page_brush;

    OwnedIcon sound_icon;           // the icon the sound toggle shows now
    PaletteSlot palette;            // where the special-characters palette inserts

    // The pictures of every play and stop button of the pages and dialogs,
    // loaded once for the window.
    OwnedBitmap play_bitmap;
    OwnedBitmap stop_bitmap;
};

// "Suivant >" of the frame, as a page uses it: pressed for the student (Enter
// in an answer box) or refused while the page's fields do not allow it.
class NextButton {
public:
    explicit NextButton(const Shell& shell) : frame_(shell.main_window), button_(shell.next_button) {}

    // A click, when the student could click it.
    void press() const;
    void allow(bool allowed) const;

private:
    HWND frame_;
    HWND button_;
};

// What a page, or a place of a page or dialog, may use of the shell, and no
// more: the engine it reports to, the program's resources, the quiz's colours
// and pictures to read, and "Suivant >". Only the frame and the page host
// change the shell itself. The handles are those of the frame, which outlives
// every page and dialog made over it.
class PageShell {
public:
    // Implicit, so that a dialog holding the shell hands its places this view.
    PageShell(Shell& shell)  // NOLINT: the shell seen by a page is still the shell
        : engine(*shell.engine),
          instance(shell.runner.instance),
          colours(shell.colours),
          next(shell),
          page_brush_(shell.page_brush),
          play_bitmap_(shell.play_bitmap),
          stop_bitmap_(shell.stop_bitmap) {}

    ExamEngine& engine;  // every decision of the exam is its own
    const HINSTANCE instance;
    const QuizColours& colours;
    const NextButton next;

    HBRUSH page_brush() const { return page_brush_.get(); }
    HBITMAP play_bitmap() const { return play_bitmap_.get(); }
    HBITMAP stop_bitmap() const { return stop_bitmap_.get(); }

private:
    const OwnedBrush& page_brush_;
    const OwnedBitmap& play_bitmap_;
    const OwnedBitmap& stop_bitmap_;
};

}  // namespace kz::win

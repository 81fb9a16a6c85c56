#pragma once
// The correction dialog of training mode as the student meets it after a
// wrong answer: found among the runner's windows, its rows read back, its
// buttons pressed.
#include <windows.h>

#include <array>
#include <ostream>
#include <string>

#include "harness/harness.h"

namespace kz::e2e {

namespace correction_ids {
inline constexpr int heading = 1015, message = 1019, comment_box = 1060;
// The three answer rows, top to bottom, then the comment.
struct Place {
    int text, picture, play, stop;
};
inline constexpr std::array<Place, 4> places = {{{1063, 1039, 1032, 1031},
                                                 {1062, 1040, 1034, 1033},
                                                 {45785, 1041, 1036, 1035},
                                                 {1061, 1066, 1065, 1064}}};
}  // namespace correction_ids

// The correction dialog of the process, waited for; none when it did not open.
HWND wait_correction(const Process& process, std::chrono::milliseconds timeout = 10s);

// What one place of the dialog shows: its text, a picture of that size, the
// play and stop buttons, or nothing at all.
struct PlaceShown {
    enum class Kind { nothing, text, picture, buttons, mixed } kind = Kind::nothing;
    std::wstring text;  // the plain text, when it shows one
    SIZE picture = {};  // the picture's size, when it shows one

    bool operator==(const PlaceShown& other) const {
        return kind == other.kind && text == other.text && picture.cx == other.picture.cx &&
               picture.cy == other.picture.cy;
    }
};
PlaceShown place_shown(HWND dialog, const correction_ids::Place& place);
// For the failure messages of the tests.
std::ostream& operator<<(std::ostream& out, const PlaceShown& shown);

// A control's rectangle on the screen.
RECT screen_rect(HWND dialog, int id);

// The close box of a window, as the student clicks it.
void press_close_box(HWND window);

// True when a program holds the file open without letting others write to it
// (as the music player holds the music it plays).
bool file_held_open(const std::filesystem::path& file);

}  // namespace kz::e2e

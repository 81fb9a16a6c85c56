#pragma once
// The correction dialog of training mode as the student meets it after a
// wrong answer: found among the runner's windows, its places read back.
#include <windows.h>

#include <array>
#include <string>

#include "harness/harness.h"

namespace kz::e2e {

namespace correction_ids {
inline constexpr int heading = 1015, message = 1019, comment_box = 1060;
// The three answer rows, top to bottom, then the comment.
struct Place {
    int text, picture, play, stop;
};
inline constexpr std::array<Place, 4> places = {
    {{1063, 1039, 1032, 1031}, {1062, 1040, 1034, 1033}, {45785, 1041, 1036, 1035}, {1061, 1066, 1065, 1064}}};
}  // namespace correction_ids

// The correction dialog of the process, waited for; none when it did not open.
HWND wait_correction(const Process& process, std::chrono::milliseconds timeout = 10s);

// What one place of the dialog shows: its text, a picture of that size, the
// play and stop buttons, nothing, or a mix of them (which no place should).
struct PlaceShown {
    enum class Kind { nothing, text, picture, buttons, mixed } kind = Kind::nothing;
    std::wstring text;
    SIZE picture = {};

    bool operator==(const PlaceShown& other) const {
        return kind == other.kind && text == other.text && picture.cx == other.picture.cx &&
               picture.cy == other.picture.cy;
    }
};
PlaceShown place_shown(HWND dialog, const correction_ids::Place& place);

}  // namespace kz::e2e

#include "harness/correction_window.h"

#include "harness/exam_window.h"

namespace kz::e2e {

HWND wait_correction(const Process& process, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    wait_until(
        [&] {
            // Only the correction dialog has the comment's frame.
            for (HWND window : process.windows(L"#32770"))
                if (GetDlgItem(window, correction_ids::comment_box)) found = window;
            return found != nullptr;
        },
        timeout);
    return found;
}

PlaceShown place_shown(HWND dialog, const correction_ids::Place& place) {
    const bool text = item_visible(dialog, place.text), picture = item_visible(dialog, place.picture);
    const bool play = item_visible(dialog, place.play), stop = item_visible(dialog, place.stop);
    PlaceShown shown;
    if (int(text) + int(picture) + int(play || stop) > 1 || play != stop) {
        shown.kind = PlaceShown::Kind::mixed;
    } else if (text) {
        shown = {PlaceShown::Kind::text, shown_text(dialog, place.text), {}};
    } else if (picture) {
        RECT rect = {};
        GetClientRect(GetDlgItem(dialog, place.picture), &rect);
        shown = {PlaceShown::Kind::picture, {}, {rect.right, rect.bottom}};
    } else if (play) {
        shown.kind = PlaceShown::Kind::buttons;
    }
    return shown;
}

}  // namespace kz::e2e

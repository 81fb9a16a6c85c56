#pragma once
// One place of a page or dialog that shows a quiz text, a picture or a sound:
// its rich edit, its picture control and its play and stop buttons, of which
// it shows those the item needs. The item as stored (rich text or media
// reference) stays in the rich edit, hidden when the place shows a picture or
// a sound, and the play button and the preview read it back from there.
#include <windows.h>

#include <string>

#include "exam/exam_view.h"
#include "host/shell.h"
#include "win32/gdi_handle.h"

namespace kz::win {

struct PlaceControls {
    int text;
    int picture;
    int play;
    int stop;
};

class MediaPlace {
public:
    // `box` is the picture's largest size, in pixels, when the item does not
    // give one (the correction dialog's answers); `background` the colour
    // behind the rich edit's text.
    MediaPlace(PlaceControls controls, SIZE box, COLORREF background)
        : controls_(controls), box_(box), background_(background) {}
    // A place of a question page: the exam type gives every picture its box.
    MediaPlace(PlaceControls controls, COLORREF background) : MediaPlace(controls, SIZE{}, background) {}

    // Puts the window's play and stop pictures on the buttons; the place
    // starts empty, every control hidden but the rich edit.
    void attach(HWND dialog, const PageShell& shell);

    void show(const ShownItem& item);
    // A place with nothing to show: every control hidden.
    void hide();
    // Frees the picture, once the control has let go of it.
    void release();

    // The play, stop and picture clicks of this place; false for a control
    // that is not one of its own.
    bool on_command(int id, int notification, const PageShell& shell);

    const PlaceControls& controls() const { return controls_; }

private:
    void show_only(std::initializer_list<int> ids) const;
    std::string stored_item() const;

    PlaceControls controls_;
    SIZE box_;
    COLORREF background_;
    HWND dialog_ = nullptr;
    OwnedBitmap picture_;
};

}  // namespace kz::win

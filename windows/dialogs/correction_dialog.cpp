#include "dialogs/correction_dialog.h"

#include <algorithm>
#include <array>
#include <string>

#include "engine/exam_engine.h"
#include "host/media_place.h"
#include "media/rich_text.h"
#include "resources/resource.h"
#include "win32/dialog_window.h"
#include "win32/win_text.h"

namespace kz::win {
namespace {

// Sizes in pixels of a screen of 96 dots per inch.
constexpr int heading_height = 24;
constexpr int answer_box = 90;      // the largest picture of an answer
constexpr int comment_box = 71;     // the largest picture of the comment
constexpr int comment_indent = 20;  // the comment under the top of its frame
constexpr int bottom_margin = 15;   // the window's edge under the last thing shown

// The three answer rows, top to bottom, then the comment.
constexpr std::size_t answer_rows = 3;
constexpr std::size_t comment_place = 3;
constexpr PlaceControls place_controls[] = {
    {IDC_CORRECTION_TEXT_1, IDC_CORRECTION_IMAGE_1, IDC_CORRECTION_PLAY_1, IDC_CORRECTION_STOP_1},
    {IDC_CORRECTION_TEXT_2, IDC_CORRECTION_IMAGE_2, IDC_CORRECTION_PLAY_2, IDC_CORRECTION_STOP_2},
    {IDC_CORRECTION_TEXT_3, IDC_CORRECTION_IMAGE_3, IDC_CORRECTION_PLAY_3, IDC_CORRECTION_STOP_3},
    {IDC_CORRECTION_COMMENT, IDC_CORRECTION_COMMENT_IMAGE, IDC_CORRECTION_COMMENT_PLAY,
     IDC_CORRECTION_COMMENT_STOP},
};

MediaPlace answer_place(std::size_t row) {
    return MediaPlace(place_controls[row], {answer_box, answer_box}, GetSysColor(COLOR_BTNFACE));
}

// A control's rectangle in the dialog's client area.
RECT item_rect(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void move_item(HWND dialog, int id, int x, int y) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void move_item_down(HWND dialog, int id, int by) {
    const RECT rect = item_rect(dialog, id);
    move_item(dialog, id, rect.left, rect.top + by);
}

std::array<int, 4> controls_of(const PlaceControls& place) {
    return {place.text, place.picture, place.play, place.stop};
}

// Whether the control is to be seen, the dialog itself not being shown yet.
bool shown(HWND dialog, int id) { return (GetWindowLongPtrW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }

// How far the place's picture reaches below its text box, the room the
// place was given.
int picture_overhang(HWND dialog, const PlaceControls& place) {
    if (!shown(dialog, place.picture)) return 0;
    return std::max(0L, item_rect(dialog, place.picture).bottom - item_rect(dialog, place.text).bottom);
}

class CorrectionDialog final : public DialogWindow {
public:
    CorrectionDialog(Shell& shell, const CorrectionRequest& request, std::string_view comment)
        : shell_(shell),
          request_(request),
          comment_(comment),
          places_{answer_place(0), answer_place(1), answer_place(2),
                  MediaPlace(place_controls[comment_place], {comment_box, comment_box}, GetSysColor(COLOR_BTNFACE))} {
    }

private:
    BOOL on_init_dialog() override {
        HWND dialog = window();
        for (MediaPlace& place : places_) {
            place.attach(dialog, shell_);
            place.hide();
        }
        ShowWindow(GetDlgItem(dialog, IDC_CORRECTION_COMMENT_BOX), SW_HIDE);
        set_font(IDC_CORRECTION_HEADING, heading_height, true, false);
        set_item_text(dialog, IDC_CORRECTION_MESSAGE, request_.message);

        for (std::size_t row = 0; row < answer_rows; ++row) show_place(row, request_.answers[row], answer_box);
        show_place(comment_place, comment_, comment_box);
        fit_to_content();
        // "&Continuer", the first control that takes the focus, has it.
        return TRUE;
    }

    void on_command(int id, int notification) override {
        switch (id) {
        case IDOK:
            EndDialog(window(), 1);
            return;
        case IDCANCEL:
            // Escape, as the close box: whatever the student started stops.
            shell_.engine->stop_media();
            EndDialog(window(), 0);
            return;
        default:
            for (MediaPlace& place : places_)
                if (place.on_command(id, notification, shell_)) return;
        }
    }

    bool on_close() override {
        on_command(IDCANCEL, BN_CLICKED);
        return true;
    }

    // On a screen of other dots per inch the controls have been laid out
    // again; the window ends again under the last thing shown.
    void on_rescaled(int old_dpi) override {
        content_bottom_ = MulDiv(content_bottom_, dpi(), old_dpi);
        fit_height();
    }

    // Shows an answer or the comment as stored: its text, its picture
    // (loaded at once, while its extracted file is there) or its play and
    // stop buttons. An empty text, or a media item of a kind that cannot be
    // shown, leaves the place hidden.
    void show_place(std::size_t place, std::string_view stored, int box) {
        if (rich_to_plain(stored).empty()) return;
        const ShownItem item = shell_.engine->shown_item(stored, box);
        if (item.kind == ShownItem::Kind::text && rich_to_plain(item.text).empty()) return;
        places_[place].show(item);
    }

    void fit_to_content();
    void fit_height();

    Shell& shell_;
    const CorrectionRequest& request_;
    std::string_view comment_;
    // The places keep the pictures they show until the dialog has closed.
    std::array<MediaPlace, 4> places_;
    int content_bottom_ = 0;  // the bottom of the last thing shown, in the client area
};

}  // namespace

// The dialog shortens itself to what it shows. Row 1's room is always kept;
// rows 2 and 3 count when they have an answer (even one that shows nothing).
// The comment's frame takes the place of the first row without an answer,
// and the window ends 15 pixels under the last thing shown. A picture taller
// than its row's text box lengthens its row, so that it neither covers the
// row under it nor gets cut off.
void CorrectionDialog::fit_to_content() {
    HWND dialog = window();
    std::size_t rows_used = 1;
    while (rows_used < answer_rows && !request_.answers[rows_used].empty()) ++rows_used;

    int pushed_down = 0;  // by the tall pictures of the rows above
    int bottom = 0;
    for (std::size_t row = 0; row < rows_used; ++row) {
        const PlaceControls& controls = place_controls[row];
        if (pushed_down > 0)
            for (const int id : controls_of(controls)) move_item_down(dialog, id, pushed_down);
        const int overhang = picture_overhang(dialog, controls);
        bottom = item_rect(dialog, controls.text).bottom + overhang;
        pushed_down += overhang;
    }

    if (!rich_to_plain(comment_).empty()) {
        const RECT frame = item_rect(dialog, IDC_CORRECTION_COMMENT_BOX);
        const int frame_top =
            (rows_used < answer_rows ? item_rect(dialog, place_controls[rows_used].text).top : frame.top) + pushed_down;
        // The comment under the frame's title, inside its left edge, where
        // it covers none of the frame's lines; a tall picture lengthens the
        // frame.
        const int inner_top = frame_top + scaled(comment_indent);
        for (const int id : controls_of(place_controls[comment_place]))
            move_item(dialog, id, item_rect(dialog, id).left, inner_top);
        const int frame_height = frame.bottom - frame.top + picture_overhang(dialog, place_controls[comment_place]);
        SetWindowPos(GetDlgItem(dialog, IDC_CORRECTION_COMMENT_BOX), nullptr, frame.left, frame_top,
                     frame.right - frame.left, frame_height, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(GetDlgItem(dialog, IDC_CORRECTION_COMMENT_BOX), SW_SHOW);
        bottom = frame_top + frame_height;
    }

    content_bottom_ = bottom;
    fit_height();
    // Centred on the screen with the size it has.
    RECT frame = {};
    GetWindowRect(dialog, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's own edge 15 pixels under the last thing shown; it keeps its
// width and its place.
void CorrectionDialog::fit_height() {
    HWND dialog = window();
    RECT frame = {};
    GetWindowRect(dialog, &frame);
    POINT last = {0, content_bottom_};
    ClientToScreen(dialog, &last);
    const int height = last.y + scaled(bottom_margin) - frame.top;
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int show_correction_dialog(Shell& shell, const CorrectionRequest& request, std::string_view comment) {
    CorrectionDialog dialog(shell, request, comment);
    const INT_PTR result = dialog.run_modal(shell.runner.instance, IDD_CORRECTION, shell.main_window);
    return result == 1 ? 1 : 0;
}

}  // namespace kz::win

#include "host/media_place.h"

#include <algorithm>

#include "display/images.h"
#include "display/rich_text_display.h"
#include "engine/exam_engine.h"
#include "media/rich_text.h"

namespace kz::win {

void MediaPlace::attach(HWND dialog, const PageShell& shell) {
    dialog_ = dialog;
    SendDlgItemMessageW(dialog, controls_.play, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(shell.play_bitmap()));
    SendDlgItemMessageW(dialog, controls_.stop, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(shell.stop_bitmap()));
    set_rich_background(GetDlgItem(dialog, controls_.text), background_);
}

void MediaPlace::show_only(std::initializer_list<int> ids) const {
    for (const int id : {controls_.text, controls_.picture, controls_.play, controls_.stop}) {
        const bool shown = std::find(ids.begin(), ids.end(), id) != ids.end();
        ShowWindow(GetDlgItem(dialog_, id), shown ? SW_SHOW : SW_HIDE);
    }
}

void MediaPlace::show(const ShownItem& item) {
    if (!dialog_) return;
    // A text as stored; a picture's or a sound's media reference, also kept
    // in the rich edit while it stays hidden, for the play button and the
    // preview.
    show_rich_text(dialog_, controls_.text, item.kind == ShownItem::Kind::text ? item.text : rich_to_plain(item.text));
    set_rich_background(GetDlgItem(dialog_, controls_.text), background_);
    switch (item.kind) {
    case ShownItem::Kind::text:
        show_only({controls_.text});
        break;
    case ShownItem::Kind::image: {
        release();
        const int width = item.box_width > 0 ? item.box_width : box_.cx;
        const int height = item.box_height > 0 ? item.box_height : box_.cy;
        picture_ = load_fitted_bitmap(dialog_, controls_.picture, item.image_file, width, height);
        show_only({controls_.picture});
        break;
    }
    case ShownItem::Kind::media:
        show_only({controls_.play, controls_.stop});
        break;
    }
}

void MediaPlace::hide() {
    if (dialog_) show_only({});
}

void MediaPlace::release() {
    if (!picture_) return;
    SendDlgItemMessageW(dialog_, controls_.picture, STM_SETIMAGE, IMAGE_BITMAP, 0);
    picture_.reset();
}

std::string MediaPlace::stored_item() const { return rich_edit_text(dialog_, controls_.text); }

bool MediaPlace::on_command(int id, int notification, const PageShell& shell) {
    ExamEngine& engine = shell.engine;
    if (id == controls_.play || id == controls_.stop) {
        if (notification != BN_CLICKED) return true;
        if (id == controls_.play) {
            engine.play_media(stored_item());
        } else {
            engine.stop_media();
        }
        return true;
    }
    if (id == controls_.picture) {
        if (notification == STN_CLICKED) {
            const auto file = engine.image_file(stored_item());
            if (file) show_image_preview(*file, shell.instance);
        }
        return true;
    }
    return false;
}

}  // namespace kz::win

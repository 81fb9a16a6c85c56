#include "page_bridge.h"

#include <cstdlib>

#include <emscripten.h>

// The script's side of each call is a method of `Module.page` (page/bridge.js).
// Texts go as a pointer and a length; bytes are copied out of the heap.

// clang-format off
EM_JS(void, kz_page_show_frame, (const char* frame, int size), {
    Module.page.showFrame(JSON.parse(UTF8ToString(frame, size)));
});
EM_JS(void, kz_page_show_frame_picture, (const char* which, int which_size, const char* bytes, int size, int width, int height), {
    Module.page.showFramePicture(UTF8ToString(which, which_size), HEAPU8.slice(bytes, bytes + size), width, height);
});
EM_JS(void, kz_page_show_control, (const char* control, int control_size, int visible), {
    Module.page.showControl(UTF8ToString(control, control_size), visible !== 0);
});
EM_JS(void, kz_page_allow_next, (int allowed), { Module.page.allowNext(allowed !== 0); });
EM_JS(void, kz_page_set_title, (const char* text, int size), { Module.page.setTitle(UTF8ToString(text, size)); });
EM_JS(void, kz_page_show_sound_icon, (int muted), { Module.page.showSoundIcon(muted !== 0); });
EM_JS(void, kz_page_set_countdown_text, (const char* text, int size), {
    Module.page.setCountdownText(UTF8ToString(text, size));
});
EM_JS(void, kz_page_focus, (const char* target, int size), { Module.page.focus(UTF8ToString(target, size)); });
EM_JS(void, kz_page_set_palette_target, (const char* target, int size), {
    Module.page.setPaletteTarget(UTF8ToString(target, size));
});
EM_JS(void, kz_page_start_timer, (int timer), { Module.page.startTimer(timer); });
EM_JS(void, kz_page_stop_timer, (int timer), { Module.page.stopTimer(timer); });

EM_JS(void, kz_page_show_welcome_page, (const char* html, int size), {
    Module.page.showWelcomePage(UTF8ToString(html, size));
});
EM_JS(void, kz_page_show_home_page, (const char* form, int size), {
    Module.page.showHomePage(JSON.parse(UTF8ToString(form, size)));
});
EM_JS(void, kz_page_show_question_page, (const char* page, int size), {
    Module.page.showQuestionPage(UTF8ToString(page, size));
});
EM_JS(void, kz_page_show_end_page, (const char* html, int size, int details, int home, int restart), {
    Module.page.showEndPage(UTF8ToString(html, size), details !== 0, home !== 0, restart !== 0);
});

EM_JS(void, kz_page_show_prompt, (const char* html, int size), { Module.page.showPrompt(UTF8ToString(html, size)); });
EM_JS(void, kz_page_show_text, (const char* place, int place_size, const char* html, int size), {
    Module.page.showText(UTF8ToString(place, place_size), UTF8ToString(html, size));
});
EM_JS(void, kz_page_show_image, (const char* place, int place_size, const char* bytes, int size, int width, int height), {
    Module.page.showImage(UTF8ToString(place, place_size), HEAPU8.slice(bytes, bytes + size), width, height);
});
EM_JS(void, kz_page_show_media_buttons, (const char* place, int size), {
    Module.page.showMediaButtons(UTF8ToString(place, size));
});
EM_JS(void, kz_page_show_candidates, (const char* entries, int size), {
    Module.page.showCandidates(JSON.parse(UTF8ToString(entries, size)));
});
EM_JS(void, kz_page_show_masked_answer, (const char* text, int size), {
    Module.page.showMaskedAnswer(UTF8ToString(text, size));
});
EM_JS(void, kz_page_show_tries_left, (int left, int tries, const char* text, int size), {
    Module.page.showTriesLeft(left, tries, UTF8ToString(text, size));
});
EM_JS(void, kz_page_show_letters_line, (const char* text, int size), {
    Module.page.showLettersLine(UTF8ToString(text, size));
});
EM_JS(void, kz_page_clear_answer, (), { Module.page.clearAnswer(); });
EM_JS(void, kz_page_release_images, (), { Module.page.releaseImages(); });

EM_JS(char*, kz_page_typed_answer, (), {
    const text = Module.page.typedAnswer();
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_JS(int, kz_page_ticked_boxes, (), { return Module.page.tickedBoxes(); });
EM_JS(int, kz_page_selected_candidate, (), { return Module.page.selectedCandidate(); });
EM_JS(int, kz_page_true_false_choice, (), { return Module.page.trueFalseChoice(); });
EM_JS(char*, kz_page_home_text, (const char* field, int field_size), {
    const text = Module.page.homeText(UTF8ToString(field, field_size));
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_JS(int, kz_page_home_checked, (const char* field, int size), {
    return Module.page.homeChecked(UTF8ToString(field, size)) ? 1 : 0;
});
EM_JS(int, kz_page_home_type_entry, (), { return Module.page.homeTypeEntry(); });
EM_JS(int, kz_page_home_theme_ticked, (int theme), { return Module.page.homeThemeTicked(theme) ? 1 : 0; });

EM_JS(void, kz_page_play_sound, (const char* bytes, int size, const char* type, int type_size), {
    Module.page.playSound(HEAPU8.slice(bytes, bytes + size), UTF8ToString(type, type_size));
});
EM_JS(void, kz_page_stop_sound, (), { Module.page.stopSound(); });
EM_JS(void, kz_page_play_music, (const char* bytes, int size, const char* type, int type_size), {
    Module.page.playMusic(HEAPU8.slice(bytes, bytes + size), UTF8ToString(type, type_size));
});
EM_JS(void, kz_page_stop_music, (), { Module.page.stopMusic(); });

EM_JS(void, kz_page_open_message, (const char* text, int text_size, const char* caption, int caption_size,
                                   const char* icon, int icon_size, int yes_no), {
    Module.page.openMessage(UTF8ToString(text, text_size), UTF8ToString(caption, caption_size),
                            UTF8ToString(icon, icon_size), yes_no !== 0);
});
EM_JS(void, kz_page_add_correction_row, (int row, const char* kind, int kind_size, const char* html, int html_size,
                                         const char* image, int image_size, int width, int height), {
    Module.page.addCorrectionRow(row, UTF8ToString(kind, kind_size), UTF8ToString(html, html_size),
                                 HEAPU8.slice(image, image + image_size), width, height);
});
EM_JS(void, kz_page_open_correction, (const char* message, int size), {
    Module.page.openCorrection(UTF8ToString(message, size));
});
EM_JS(void, kz_page_close_modal, (), { Module.page.closeModal(); });
EM_ASYNC_JS(int, kz_page_wait_modal_event, (), { return await Module.page.waitModalEvent(); });

EM_JS(void, kz_page_show_image_preview, (const char* bytes, int size), {
    Module.page.showImagePreview(HEAPU8.slice(bytes, bytes + size));
});
EM_JS(void, kz_page_show_results_details, (const char* json, int size), {
    Module.page.showResultsDetails(JSON.parse(UTF8ToString(json, size)));
});
EM_JS(void, kz_page_record_ready, (const char* file, int file_size, const char* record, int record_size,
                                   const char* name, int name_size), {
    Module.page.recordReady(HEAPU8.slice(file, file + file_size), HEAPU8.slice(record, record + record_size),
                            UTF8ToString(name, name_size));
});
EM_JS(void, kz_page_report_to_platform, (const char* values, int size), {
    Module.page.reportToPlatform(JSON.parse(UTF8ToString(values, size)));
});
EM_JS(void, kz_page_exam_running, (int running), { Module.page.examRunning(running !== 0); });
EM_JS(void, kz_page_closed, (), { Module.page.closed(); });
// clang-format on

namespace kz::web::page {
namespace {

int size_of(std::string_view text) { return static_cast<int>(text.size()); }

// A text that the script allocated with malloc, taken over.
std::string taken(char* text) {
    std::string copy = text ? std::string(text) : std::string();
    std::free(text);
    return copy;
}

}  // namespace

void show_frame(std::string_view frame) { kz_page_show_frame(frame.data(), size_of(frame)); }
void show_frame_picture(std::string_view which, std::string_view bytes, int box_width, int box_height) {
    kz_page_show_frame_picture(which.data(), size_of(which), bytes.data(), size_of(bytes), box_width, box_height);
}

void show_control(std::string_view control, bool visible) {
    kz_page_show_control(control.data(), size_of(control), visible);
}
void allow_next(bool allowed) { kz_page_allow_next(allowed); }
void set_title(std::string_view text) { kz_page_set_title(text.data(), size_of(text)); }
void show_sound_icon(bool muted) { kz_page_show_sound_icon(muted); }
void set_countdown_text(std::string_view text) { kz_page_set_countdown_text(text.data(), size_of(text)); }
void focus(std::string_view target) { kz_page_focus(target.data(), size_of(target)); }
void set_palette_target(std::string_view target) { kz_page_set_palette_target(target.data(), size_of(target)); }
void start_timer(int timer) { kz_page_start_timer(timer); }
void stop_timer(int timer) { kz_page_stop_timer(timer); }

void show_welcome_page(std::string_view html) { kz_page_show_welcome_page(html.data(), size_of(html)); }
void show_home_page(std::string_view form) { kz_page_show_home_page(form.data(), size_of(form)); }
void show_question_page(std::string_view page) { kz_page_show_question_page(page.data(), size_of(page)); }
void show_end_page(std::string_view html, bool details_button, bool home_button, bool restart_button) {
    kz_page_show_end_page(html.data(), size_of(html), details_button, home_button, restart_button);
}

void show_prompt(std::string_view html) { kz_page_show_prompt(html.data(), size_of(html)); }
void show_text(std::string_view place, std::string_view html) {
    kz_page_show_text(place.data(), size_of(place), html.data(), size_of(html));
}
void show_image(std::string_view place, std::string_view bytes, int box_width, int box_height) {
    kz_page_show_image(place.data(), size_of(place), bytes.data(), size_of(bytes), box_width, box_height);
}
void show_media_buttons(std::string_view place) { kz_page_show_media_buttons(place.data(), size_of(place)); }
void show_candidates(std::string_view entries) { kz_page_show_candidates(entries.data(), size_of(entries)); }
void show_masked_answer(std::string_view text) { kz_page_show_masked_answer(text.data(), size_of(text)); }
void show_tries_left(int tries_left, int tries, std::string_view text) {
    kz_page_show_tries_left(tries_left, tries, text.data(), size_of(text));
}
void show_letters_line(std::string_view text) { kz_page_show_letters_line(text.data(), size_of(text)); }
void clear_answer() { kz_page_clear_answer(); }
void release_images() { kz_page_release_images(); }

std::string typed_answer() { return taken(kz_page_typed_answer()); }
int ticked_boxes() { return kz_page_ticked_boxes(); }
int selected_candidate() { return kz_page_selected_candidate(); }
int true_false_choice() { return kz_page_true_false_choice(); }
std::string home_text(std::string_view field) { return taken(kz_page_home_text(field.data(), size_of(field))); }
bool home_checked(std::string_view field) { return kz_page_home_checked(field.data(), size_of(field)) != 0; }
int home_type_entry() { return kz_page_home_type_entry(); }
bool home_theme_ticked(int theme) { return kz_page_home_theme_ticked(theme) != 0; }

void play_sound(std::string_view bytes, std::string_view type) {
    kz_page_play_sound(bytes.data(), size_of(bytes), type.data(), size_of(type));
}
void stop_sound() { kz_page_stop_sound(); }
void play_music(std::string_view bytes, std::string_view type) {
    kz_page_play_music(bytes.data(), size_of(bytes), type.data(), size_of(type));
}
void stop_music() { kz_page_stop_music(); }

void open_message(std::string_view text, std::string_view caption, std::string_view icon, bool yes_no) {
    kz_page_open_message(text.data(), size_of(text), caption.data(), size_of(caption), icon.data(), size_of(icon),
                         yes_no);
}
void add_correction_row(int row, std::string_view kind, std::string_view html, std::string_view image,
                        int box_width, int box_height) {
    kz_page_add_correction_row(row, kind.data(), size_of(kind), html.data(), size_of(html), image.data(),
                               size_of(image), box_width, box_height);
}
void open_correction(std::string_view message) { kz_page_open_correction(message.data(), size_of(message)); }
void close_modal() { kz_page_close_modal(); }
int wait_modal_event() { return kz_page_wait_modal_event(); }

void show_image_preview(std::string_view bytes) { kz_page_show_image_preview(bytes.data(), size_of(bytes)); }
void show_results_details(std::string_view json) { kz_page_show_results_details(json.data(), size_of(json)); }

void record_ready(std::string_view file_bytes, std::string_view record, std::string_view file_name) {
    kz_page_record_ready(file_bytes.data(), size_of(file_bytes), record.data(), size_of(record), file_name.data(),
                         size_of(file_name));
}
void report_to_platform(std::string_view values) { kz_page_report_to_platform(values.data(), size_of(values)); }
void exam_running(bool running) { kz_page_exam_running(running); }
void closed() { kz_page_closed(); }

}  // namespace kz::web::page

#pragma once
// Every call from the web player's C++ side into the page's script. The page
// is a passive view, like the Windows pages: these calls say what to show and
// read back what the student entered; the script decides nothing about the
// exam. Texts cross the bridge as UTF-8; quiz texts go as HTML fragments made
// by rich_to_html, everything else as text that the page puts into the
// document as text, never as markup.
#include <string>
#include <string_view>

namespace kz::web::page {

// The frame as the quiz sets it: `frame` is JSON with the quiz name and the
// five colours (title band, window, page, title text, text) as "#rrggbb";
// `which` is "logo" or "banner", the picture fitted within its box.
void show_frame(std::string_view frame);
void show_frame_picture(std::string_view which, std::string_view bytes, int box_width, int box_height);

// The page's parts that are shown or hidden as the exam goes: "next",
// "quit", "help", "palette", "countdown".
void show_control(std::string_view control, bool visible);
void allow_next(bool allowed);
void set_title(std::string_view text);
void show_sound_icon(bool muted);
void set_countdown_text(std::string_view text);
// Gives the keyboard to "next", "answer", "name", "details" or "letter".
void focus(std::string_view target);
// "answer" or "letter"; empty when no field takes the palette's characters.
void set_palette_target(std::string_view target);
void start_timer(int timer);
void stop_timer(int timer);

// Pages. `form` is the home page's form as JSON; `page` one of "open_answer",
// "multiple_choice", "true_false", "pot_pourri", "hangman", "scrambled_letters".
void show_welcome_page(std::string_view html);
void show_home_page(std::string_view form);
void show_question_page(std::string_view page);
void show_end_page(std::string_view html, bool details_button, bool home_button, bool restart_button);

// The question page's places: "question", "box_1" to "box_3", "statement".
void show_prompt(std::string_view html);
void show_text(std::string_view place, std::string_view html);
void show_image(std::string_view place, std::string_view bytes, int box_width, int box_height);
void show_media_buttons(std::string_view place);
void show_candidates(std::string_view entries);  // a JSON array of the entries' rich HTML
void show_masked_answer(std::string_view text);
void show_tries_left(int tries_left, int tries, std::string_view text);
void show_letters_line(std::string_view text);
void clear_answer();
void release_images();

// What the student entered.
std::string typed_answer();    // the answer field, or the hangman's letter box
int ticked_boxes();            // bit k for box k + 1
int selected_candidate();      // index into the entries shown, or -1
int true_false_choice();       // 0 "C'est vrai", 1 "C'est faux", or -1
std::string home_text(std::string_view field);   // "name", "count", "time_limit"
bool home_checked(std::string_view field);       // "time_limit_on", "random_order", "invert", "training"
int home_type_entry();
bool home_theme_ticked(int theme);

// Sound and music: the bytes of a file to play, of the given media type.
void play_sound(std::string_view bytes, std::string_view type);
void stop_sound();
void play_music(std::string_view bytes, std::string_view type);
void stop_music();

// Dialogs. A modal dialog of the engine is opened, then waited on with
// wait_modal_event until the engine closes it.
void open_message(std::string_view text, std::string_view caption, std::string_view icon, bool yes_no);
void add_correction_row(int row, std::string_view kind, std::string_view html, std::string_view image,
                        int box_width, int box_height);
void open_correction(std::string_view message);
void close_modal();
// The next event for the innermost modal dialog: a timer's tick (its number),
// or a code of the dialog (modal_event.h). Suspends the engine until then.
int wait_modal_event();

void show_image_preview(std::string_view bytes);
void show_results_details(std::string_view json);

// The record of the exam just ended: the results file's bytes ("1.3" and the
// record) and a file name for them.
void record_ready(std::string_view file_bytes, std::string_view record, std::string_view file_name);
// The exam's values for the learning platform's SCORM data model, as a JSON
// array of [element, value] pairs, in the order to set them.
void report_to_platform(std::string_view values);
// Whether an exam is under way: leaving the page then loses it.
void exam_running(bool running);
// The student has quit: the page shows that it may be closed.
void closed();

}  // namespace kz::web::page

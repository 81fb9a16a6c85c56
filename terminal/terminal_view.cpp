#include "terminal_view.h"

#include "correction_dialog.h"
#include "message_box.h"
#include "res/string_table.h"

namespace kz::term {

TerminalView::TerminalView(Console& console, ExamTimers& timers, MediaPlayer& media, MediaMenu& menu)
    : console_(console), timers_(timers), media_(media), menu_(menu) {}

void TerminalView::forget_answer() {
    typed_.clear();
    ticks_ = {};
    selection_.reset();
    choice_.reset();
}

void TerminalView::show_unseen_game_change() {
    if (screen_.game_changed && !screen_.page_changed && show_game_change_) {
        screen_.game_changed = false;
        show_game_change_();
    }
}

MessageAnswer TerminalView::show_message(const Message& message) {
    show_unseen_game_change();
    return show_message_box(console_, message);
}

// ---------------------------------------------------------------- pages

void TerminalView::new_page(ScreenKind kind) {
    screen_.kind = kind;
    screen_.generation += 1;
    screen_.page_changed = true;
    screen_.game_changed = false;
    next_question_pending_ = false;
    menu_.clear();
}

void TerminalView::show_welcome_page(std::string_view rich_text) {
    new_page(ScreenKind::welcome);
    screen_.welcome_text = std::string(rich_text);
}

void TerminalView::show_home_page(const HomeForm& form) {
    new_page(ScreenKind::home);
    screen_.home = form;
    // The page opens with the form's values; the student changes them there.
    home_choices_ = HomeChoices{};
    home_choices_.type_entry = form.selected_type_entry;
    home_choices_.question_count_text = form.question_count_text;
    home_choices_.student_name = form.student_name;
    home_choices_.time_limit_text = form.time_limit_text;
    home_choices_.time_limit_on = form.time_limit_on;
    home_choices_.random_order = form.random_order;
    home_choices_.reverse_direction = form.reverse_direction;
    home_choices_.training_mode = form.training_mode;
    home_choices_.ticked_themes.assign(form.theme_names.size(), true);
}

void TerminalView::show_question_page(Page page) {
    new_page(ScreenKind::question);
    screen_.question_page = page;
    screen_.prompt.clear();
    screen_.items.clear();
    screen_.candidates.clear();
    screen_.masked_answer.clear();
    screen_.tries_text.clear();
    screen_.letters_line.clear();
    screen_.question_media_playing = false;
}

void TerminalView::show_end_page(const EndPage& page) {
    new_page(ScreenKind::end);
    screen_.end = page;
}

void TerminalView::release_question_images() {
    // A grading begins: the next change of the page's content is the next
    // question. The pictures and sounds listed so far are let go.
    show_unseen_game_change();
    screen_.generation += 1;
    next_question_pending_ = true;
    question_play_expected_ = false;
    menu_.clear();
}

void TerminalView::question_content_changes() {
    if (next_question_pending_) {
        next_question_pending_ = false;
        screen_.prompt.clear();
        screen_.items.clear();
        screen_.candidates.clear();
        screen_.masked_answer.clear();
        screen_.tries_text.clear();
        screen_.letters_line.clear();
        screen_.question_media_playing = false;
        screen_.page_changed = true;
        screen_.game_changed = false;
    }
}

// ---------------------------------------------------------------- the frame

void TerminalView::set_title(std::string_view title) {
    if (screen_.title != title) screen_.title = std::string(title);
}

void TerminalView::show_next(bool visible) {
    // An exam ended without an end page leaves its last question on screen,
    // with nothing left to answer: the page is shown again to say so.
    if (!visible && screen_.next_visible && screen_.kind == ScreenKind::question) screen_.page_changed = true;
    screen_.next_visible = visible;
}
void TerminalView::show_quit(bool visible) { screen_.quit_visible = visible; }
void TerminalView::show_help_button(bool visible) { screen_.help_visible = visible; }
void TerminalView::show_sound_icon(bool muted) { screen_.muted = muted; }
void TerminalView::show_countdown(bool visible) { screen_.countdown_visible = visible; }

void TerminalView::set_countdown_text(std::string_view text) {
    screen_.countdown_text = std::string(text);
    // The seconds are not printed one by one (":temps" tells them); the
    // moment the time runs out is.
    if (text == load_message(str::time_up_text)) {
        console_.line();
        console_.line(text);
    }
}

// ---------------------------------------------------------------- the question page

void TerminalView::show_prompt(std::string_view rich_text) {
    question_content_changes();
    screen_.prompt = std::string(rich_text);
    screen_.page_changed = true;
}

void TerminalView::show_item(Place place, const ShownItem& item) {
    question_content_changes();
    ShownItem kept = item;
    kept.image_file.clear();  // valid during the call only; pictures are extracted anew on request
    screen_.items[place] = std::move(kept);
    screen_.page_changed = true;
    if (place == Place::question && item.kind == ShownItem::Kind::media) question_play_expected_ = true;
}

void TerminalView::show_candidates(const std::vector<std::string>& entries) {
    question_content_changes();
    screen_.candidates = entries;
    screen_.page_changed = true;
}

void TerminalView::show_masked_answer(std::string_view masked) {
    question_content_changes();
    if (screen_.masked_answer == masked) return;
    screen_.masked_answer = std::string(masked);
    if (!screen_.page_changed) screen_.game_changed = true;
}

void TerminalView::show_tries_left(int tries_left, std::string_view text) {
    question_content_changes();
    if (screen_.tries_left == tries_left && screen_.tries_text == text) return;
    screen_.tries_left = tries_left;
    screen_.tries_text = std::string(text);
    if (!screen_.page_changed) screen_.game_changed = true;
}

void TerminalView::show_letters_line(std::string_view letters) {
    question_content_changes();
    screen_.letters_line = std::string(letters);
    screen_.page_changed = true;
}

// ---------------------------------------------------------------- modal dialogs

void TerminalView::show_correction(const CorrectionRequest& request, std::string_view comment) {
    show_unseen_game_change();
    show_correction_dialog(console_, menu_, request, comment);
}

// ---------------------------------------------------------------- sound and music

void TerminalView::played(MediaPlayer::Outcome outcome) {
    last_play_ = outcome;
    if (question_play_expected_) {
        question_play_expected_ = false;
        screen_.question_media_playing = outcome == MediaPlayer::Outcome::played;
    }
    play_asked_ = false;
}

void TerminalView::play_sound(const std::filesystem::path& file) {
    played(media_.play_sound(file, play_asked_));
}

void TerminalView::play_music(const std::filesystem::path& file) {
    played(media_.play_music(file, play_asked_));
}

}  // namespace kz::term

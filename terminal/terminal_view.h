#pragma once
// The exam's window in a terminal. The engine tells the view what to show and
// reads back what the student entered, exactly as it does with the Windows
// pages. The view keeps what the current page shows (the Screen); the player
// prints the page when it next asks the student something, so that a page the
// engine builds in several calls comes out whole. Message boxes and the
// correction are modal: they are printed at once, and a Yes/No box waits for
// its answer.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "console.h"
#include "exam/exam_view.h"
#include "exam_timers.h"
#include "media_menu.h"
#include "media_player.h"

namespace kz::term {

enum class ScreenKind { none, welcome, home, question, end };

// What the window shows now.
struct Screen {
    ScreenKind kind = ScreenKind::none;
    // Grows with every new page and every graded question: the player sees by
    // it that the time limit has moved the exam on while it waited.
    std::uint64_t generation = 0;
    bool page_changed = false;  // the whole page is to be printed
    bool game_changed = false;  // the hangman's word or tries changed on the page

    // The frame.
    std::string title;
    bool next_visible = true;
    bool quit_visible = true;
    bool help_visible = true;
    bool muted = false;
    bool countdown_visible = false;
    std::string countdown_text;

    // The pages.
    std::string welcome_text;  // rich text
    HomeForm home;
    Page question_page = Page::open_answer;
    std::string prompt;  // rich text
    std::map<Place, ShownItem> items;
    std::vector<std::string> candidates;
    std::string masked_answer;
    int tries_left = 0;
    std::string tries_text;
    std::string letters_line;
    bool question_media_playing = false;  // the question's sound started by itself
    kz::EndPage end;
};

class TerminalView final : public ExamView {
public:
    TerminalView(Console& console, ExamTimers& timers, MediaPlayer& media, MediaMenu& menu);

    Screen& screen() { return screen_; }
    const Screen& screen() const { return screen_; }

    // The student's answer, given just before the page presses Next, and
    // forgotten right after: an answer never outlives the Next it was given
    // for, so a time limit running out grades nothing stale.
    void give_typed_answer(std::string text) { typed_ = std::move(text); }
    void give_ticks(std::array<bool, 3> ticks) { ticks_ = ticks; }
    void give_selection(std::optional<std::string> entry) { selection_ = std::move(entry); }
    void give_true_false_choice(TrueFalseChoice choice) { choice_ = choice; }
    void forget_answer();

    // The home page's choices as the student is filling them in.
    HomeChoices& home_choices() { return home_choices_; }
    const HomeChoices& home_choices() const { return home_choices_; }

    // Called before a modal box opens, and when a question is graded, while
    // the hangman's word or tries have changed unseen: the student sees the
    // game as it stands before the box or the next question.
    void on_game_change_unseen(std::function<void()> show) { show_game_change_ = std::move(show); }

    // The next sound or music was asked for by the student (a play command).
    void mark_play_asked() { play_asked_ = true; }
    // What the last play did.
    std::optional<MediaPlayer::Outcome> last_play() const { return last_play_; }

    // MessageBoxes
    MessageAnswer show_message(const Message& message) override;

    // ExamView
    void show_welcome_page(std::string_view rich_text) override;
    void show_home_page(const HomeForm& form) override;
    void show_question_page(Page page) override;
    void show_end_page(const EndPage& page) override;
    void set_title(std::string_view title) override;
    void show_next(bool visible) override;
    void show_quit(bool visible) override;
    void show_help_button(bool visible) override;
    void show_sound_icon(bool muted) override;
    void show_countdown(bool visible) override;
    void set_countdown_text(std::string_view text) override;
    void focus(Focus) override {}
    void set_palette_target(PaletteTarget) override {}  // any character can be typed
    void clear_palette_target() override {}
    void start_timer(Timer timer) override { timers_.start(timer); }
    void stop_timer(Timer timer) override { timers_.stop(timer); }
    void show_prompt(std::string_view rich_text) override;
    void show_item(Place place, const ShownItem& item) override;
    void show_candidates(const std::vector<std::string>& entries) override;
    void show_masked_answer(std::string_view masked) override;
    void show_tries_left(int tries_left, std::string_view text) override;
    void show_letters_line(std::string_view letters) override;
    void clear_answer() override { forget_answer(); }
    void release_question_images() override;
    std::string typed_answer() override { return typed_; }
    std::array<bool, 3> ticked_boxes() override { return ticks_; }
    std::optional<std::string> selected_candidate() override { return selection_; }
    std::optional<TrueFalseChoice> true_false_choice() override { return choice_; }
    HomeChoices read_home_choices() override { return home_choices_; }
    void show_correction(const CorrectionRequest& request, std::string_view comment) override;
    void play_sound(const std::filesystem::path& file) override;
    void stop_sound() override { media_.stop_sound(); }
    void play_music(const std::filesystem::path& file) override;
    void stop_music() override { media_.stop_music(); }

private:
    void new_page(ScreenKind kind);
    // The question page's content is about to change: after a grading, the
    // first change starts the next question's page afresh.
    void question_content_changes();
    void played(MediaPlayer::Outcome outcome);
    void show_unseen_game_change();

    Console& console_;
    ExamTimers& timers_;
    MediaPlayer& media_;
    MediaMenu& menu_;
    Screen screen_;
    bool next_question_pending_ = false;
    bool question_play_expected_ = false;
    bool play_asked_ = false;
    std::optional<MediaPlayer::Outcome> last_play_;
    std::function<void()> show_game_change_;

    std::string typed_;
    std::array<bool, 3> ticks_{};
    std::optional<std::string> selection_;
    std::optional<TrueFalseChoice> choice_;
    HomeChoices home_choices_;
};

}  // namespace kz::term

#pragma once
// An ExamView that remembers what the engine showed and answers what a test
// scripted: the typed answer, the ticks, the list selection, the true/false
// choice, the home page's choices and the buttons pressed in message boxes.
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "exam/exam_view.h"

namespace kz::test {

struct ShownCorrection {
    CorrectionRequest request;
    std::string comment;
};

class FakeView final : public ExamView {
public:
    // ---- what the engine showed
    std::vector<std::string> events;  // one line per call, in order: "page open answer", "title ..." ...
    std::optional<Page> page;
    std::string welcome_text;
    HomeForm home_form;
    EndPage end_page;
    std::string title;
    bool next_visible = true;
    bool quit_visible = true;
    bool help_visible = true;
    bool muted_icon = false;
    bool countdown_visible = false;
    std::string countdown_text;
    std::vector<std::string> countdown_texts;  // every countdown text shown, in order
    std::optional<Focus> focused;
    std::optional<PaletteTarget> palette_target;
    std::set<Timer> running_timers;
    std::string prompt;
    std::map<Place, ShownItem> items;
    std::vector<std::string> questions_shown;  // the question place's text, in order
    std::vector<std::string> candidates;
    std::string masked_answer;
    int tries_left = -1;
    std::string tries_left_text;
    std::string letters_line;
    int images_released = 0;
    std::vector<Message> messages;
    std::vector<ShownCorrection> corrections;
    std::vector<std::filesystem::path> sounds_played;
    std::vector<std::filesystem::path> music_played;

    // ---- what the student does
    std::string typed;                   // emptied by clear_answer
    std::array<bool, 3> ticks{};         // emptied by clear_answer
    std::optional<std::string> selection;
    std::optional<TrueFalseChoice> choice;  // emptied by clear_answer
    HomeChoices home_choices;            // set from the form each time the home page is shown
    std::deque<MessageAnswer> message_answers;  // default: "No" to a question, OK otherwise

    // Called inside the matching view call, to act while the engine waits
    // (a click during a preparation, a tick during the correction dialog).
    std::function<void(Place, const ShownItem&)> on_show_item;
    std::function<void(const ShownCorrection&)> on_correction;
    std::function<void(const Message&)> on_message;
    std::function<void()> on_typed_answer_read;

    std::string last_message_text() const { return messages.empty() ? std::string() : messages.back().text; }
    bool timer_running(Timer timer) const { return running_timers.count(timer) != 0; }

    // ExamView
    MessageAnswer show_message(const Message& message) override;
    void show_welcome_page(std::string_view rich_text) override;
    void show_home_page(const HomeForm& form) override;
    void show_question_page(Page p) override;
    void show_end_page(const EndPage& p) override;
    void set_title(std::string_view t) override;
    void show_next(bool visible) override;
    void show_quit(bool visible) override;
    void show_help_button(bool visible) override;
    void show_sound_icon(bool muted) override;
    void show_countdown(bool visible) override;
    void set_countdown_text(std::string_view text) override;
    void focus(Focus target) override;
    void set_palette_target(PaletteTarget target) override;
    void clear_palette_target() override;
    void start_timer(Timer timer) override;
    void stop_timer(Timer timer) override;
    void show_prompt(std::string_view rich_text) override;
    void show_item(Place place, const ShownItem& item) override;
    void show_candidates(const std::vector<std::string>& entries) override;
    void show_masked_answer(std::string_view masked) override;
    void show_tries_left(int tries_left, std::string_view text) override;
    void show_letters_line(std::string_view letters) override;
    void clear_answer() override;
    void release_question_images() override;
    std::string typed_answer() override;
    std::array<bool, 3> ticked_boxes() override;
    std::optional<std::string> selected_candidate() override;
    std::optional<TrueFalseChoice> true_false_choice() override;
    HomeChoices read_home_choices() override;
    void show_correction(const CorrectionRequest& request, std::string_view comment) override;
    void play_sound(const std::filesystem::path& file) override;
    void stop_sound() override;
    void play_music(const std::filesystem::path& file) override;
    void stop_music() override;
};

}  // namespace kz::test

#pragma once
// The exam's window in a browser. The engine tells the view what to show and
// reads back what the student entered, exactly as it does with the Windows
// pages and the terminal player; the view passes it all to the page's script
// (page_bridge.h), which shows it and decides nothing.
//
// Message boxes and the correction dialog are modal, as on Windows: the view
// opens the page's dialog and waits for the student's answer. A browser
// cannot block, so the wait suspends the WebAssembly (Asyncify) until the
// page reports an event; while the engine waits, the page's timers keep
// ticking and their ticks are delivered from inside the wait, as the nested
// message loop of a Windows dialog delivers them. The engine was made for
// that (a tick's Next inside a hangman message, time-up under the quit
// question), so a browser exam goes exactly as on Windows.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/exam_engine.h"
#include "exam/exam_view.h"

namespace kz::web {

class WebView final : public ExamView {
public:
    // `renderings` holds the music pieces rendered to audio when the page
    // was made (MIDI does not play in a browser), named by their MIDI
    // file's fingerprint (rendered_music_name).
    explicit WebView(std::filesystem::path renderings);

    // The engine whose timers tick and whose media play while a dialog is
    // open, and the quiz it runs (the pot-pourri list shows its answers). Set
    // once, after the engine is made with this view.
    void attach(ExamEngine& engine, const QuizModel& model) {
        engine_ = &engine;
        model_ = &model;
    }

    // The page's commands that need the view's memory of what it shows: the
    // play and stop buttons and the pictures of a question page's places.
    void play_place(Place place);
    void preview_place(Place place);
    // The home page's Next button follows the field the student changed last.
    void home_field_changed(std::string_view field);

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

private:
    // Waits for the open dialog's closing event, delivering the timers'
    // ticks and handing every other event to `other`. Returns the event
    // that closed it.
    template <typename Other>
    int wait_for_close(Other other);
    void deliver_tick(int timer);

    std::filesystem::path renderings_;
    ExamEngine* engine_ = nullptr;
    const QuizModel* model_ = nullptr;
    std::map<Place, std::string> shown_;  // the stored text of each place's picture or sound
    std::vector<std::string> candidates_;
    std::size_t theme_count_ = 0;
};

}  // namespace kz::web

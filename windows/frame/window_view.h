#pragma once
// The exam as the student sees it on Windows: the engine's passive view,
// carried out on the main window's frame and on its current page.
#include <memory>

#include "exam/exam_view.h"
#include "host/hosted_page.h"
#include "host/shell.h"

namespace kz::win {

class WindowView final : public ExamView {
public:
    explicit WindowView(Shell& shell) : shell_(shell) {}

    MessageAnswer show_message(const Message& message) override;

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

    // Forgets the page when the window closes; its window is gone by then.
    void forget_page() { page_.reset(); }

private:
    void replace_page(std::shared_ptr<HostedPage> page);
    // The current page's reader of the answer named, or none (said loudly).
    template <class Reader>
    Reader* answer_reader(const char* answer);
    void report_missing_answer(const char* answer) const;
    // Gives the focus to a control of the frame or of the page, when the
    // student can reach it; otherwise to the first button of the frame that
    // can take it.
    void focus_control(HWND control);

    Shell& shell_;
    std::shared_ptr<HostedPage> page_;
};

}  // namespace kz::win

#pragma once
// The exam engine: everything that happens when the student presses
// "Suivant >" (or the time limit presses it), from the welcome page through
// the questions to the score, the results file and the end page. It reaches
// the window only through ExamView and the system only through Platform, so a
// whole exam can be played without a window.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/text_templates.h"
#include "exam/exam_settings.h"
#include "exam/exam_state.h"
#include "exam/exam_view.h"
#include "exam/platform.h"
#include "media/rich_text.h"
#include "questions/exam_type_rules.h"
#include "questions/matcher.h"
#include "quiz/media_extractor.h"
#include "quiz/quiz_model.h"
#include "results/exam_record.h"
#include "results/results_manager.h"
#include "results/results_recorder.h"

namespace kz {

class ExamEngine final : private ExamContext {
public:
    using RulesFactory = std::function<std::unique_ptr<ExamTypeRules>(ExamType)>;

    ExamEngine(const QuizModel& model, MediaExtractor& media, ExamView& view, Platform& platform,
               std::filesystem::path runner_path, RulesFactory rules = make_exam_type_rules,
               AppendPatience patience = {});

    // The student's name, when the front end knows who the student is (a
    // learning platform that started the quiz for a signed-in student): it
    // replaces "Anonyme" as the name of every exam, and the home page shows
    // it without letting it change, so that the platform's gradebook and the
    // record name the same person. Before open().
    void name_student(std::string_view name);

    // The main window has opened: the welcome page, the home page, or the
    // exam at once with the quiz's defaults.
    void open();

    // Commands of the window.
    void next();                 // "Suivant >"
    void countdown_tick();       // timer 1, each second
    void elapsed_tick();         // timer 20, each second
    void restart();              // "Recommencer": the same questions in the same order
    void go_home();              // "Page d'accueil": a new exam from the home page
    void show_results_details(); // "Détails des résultats"
    void toggle_mute();          // the sound icon
    bool confirm_quit();         // "Quitter" and the close box: true when the window may close

    // Commands of the question pages.
    void test_letter(std::string_view typed);  // hangman: "Tester la lettre"
    void play_media(std::string_view stored);  // a play button: the sound or music of the text
    void stop_media();                         // a stop button
    // The image file of a media reference, extracted anew (for the preview).
    std::optional<std::filesystem::path> image_file(std::string_view stored);
    // How a place shows a text as stored: the text itself, a picture within
    // box_size x box_size (its file valid until the next extraction: load it
    // at once), or the play and stop buttons of a sound or a music.
    ShownItem shown_item(std::string_view stored, int box_size);

    // The help text with the values of this moment.
    std::string help_text() const;

    const ExamSettings& exam_settings() const { return settings_; }
    const ExamState& exam_state() const { return state_; }
    const ExamRecord& exam_record() const { return record_; }
    // The results file the last exam was written to; nothing when the record
    // was not written.
    const std::optional<std::filesystem::path>& last_results_file() const { return last_results_file_; }

private:
    // ExamContext, lent to the exam type's rules.
    const QuizModel& model() const override { return model_; }
    const ExamSettings& settings() const override { return settings_; }
    ExamState& state() override { return state_; }
    const PlainTexts& plain() const override { return plain_; }
    MatchOptions match_options() const override { return match_options_; }
    ExamView& view() override { return view_; }
    RandomSource& random() override { return platform_.random; }
    bool theme_taken(std::size_t theme) const override;
    std::optional<QuestionRef> draw_question() override;
    void show_text_or_media(Place place, std::string_view stored, int box_size, bool play_at_once) override;
    QuestionRecord& record_entry() override { return record_.open_entry; }
    std::string display_label(std::string_view text) const override;
    void press_next() override { next(); }

    void reset_exam_state();
    std::string default_student_name() const;
    void show_welcome_page();
    void show_home_page();
    bool read_home_choices();
    void start_exam();
    bool prepare_question();
    void grade_answer();
    void show_correction(int message_id, std::array<std::string, 3> answers);
    void close_question_entry();
    void end_exam();
    void start_countdown();
    void stop_countdown();
    void set_question_title();
    void play_event_sound(std::int32_t media_id);
    TemplateValues template_values() const;

    const QuizModel& model_;
    MediaExtractor& media_;
    ExamView& view_;
    Platform& platform_;
    std::filesystem::path runner_path_;
    RulesFactory make_rules_;
    PlainTexts plain_;
    MatchOptions match_options_;
    ResultsRecorder recorder_;

    ExamSettings settings_;
    ExamState state_;
    ExamRecord record_;
    std::unique_ptr<ExamTypeRules> rules_;
    std::optional<std::filesystem::path> last_results_file_;
    std::optional<std::string> known_name_;  // the student's name, from name_student

    bool next_visible_ = true;
    bool in_next_ = false;           // a Next is being handled: another one is ignored
    bool countdown_running_ = false; // timer 1
    bool elapsed_running_ = false;   // timer 20
    bool countdown_used_ = false;    // this exam has a running time limit
};

}  // namespace kz

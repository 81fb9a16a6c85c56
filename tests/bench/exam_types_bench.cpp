// Preparing a question of the exam types that look through a whole theme: the
// multiple choice's wrong proposals (drawn from the full pool until one of the
// theme turns up) and the pot-pourri's list of the theme's answers, on themes
// of 500 questions in the rich text an authoring control writes.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "questions/multiple_choice.h"
#include "questions/pot_pourri.h"
#include "quiz/media_table.h"

namespace kz::bench {
namespace {

// A page that shows nothing.
class NullView final : public ExamView {
public:
    MessageAnswer show_message(const Message&) override { return MessageAnswer::ok; }
    void show_welcome_page(std::string_view) override {}
    void show_home_page(const HomeForm&) override {}
    void show_question_page(Page) override {}
    void show_end_page(const EndPage&) override {}
    void set_title(std::string_view) override {}
    void show_next(bool) override {}
    void show_quit(bool) override {}
    void show_help_button(bool) override {}
    void show_sound_icon(bool) override {}
    void show_countdown(bool) override {}
    void set_countdown_text(std::string_view) override {}
    void focus(Focus) override {}
    void set_palette_target(PaletteTarget) override {}
    void clear_palette_target() override {}
    void start_timer(Timer) override {}
    void stop_timer(Timer) override {}
    void show_prompt(std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
    void show_item(Place, const ShownItem& item) override { benchmark::DoNotOptimize(item.text.data()); }
    void show_candidates(const std::vector<std::string>& entries) override { benchmark::DoNotOptimize(entries.data()); }
    void show_masked_answer(std::string_view) override {}
    void show_tries_left(int, std::string_view) override {}
    void show_letters_line(std::string_view) override {}
    void clear_answer() override {}
    void release_question_images() override {}
    std::string typed_answer() override { return {}; }
    std::array<bool, 3> ticked_boxes() override { return {}; }
    std::optional<std::string> selected_candidate() override { return std::nullopt; }
    std::optional<TrueFalseChoice> true_false_choice() override { return std::nullopt; }
    HomeChoices read_home_choices() override { return {}; }
    void show_correction(const CorrectionRequest&, std::string_view) override {}
    void play_sound(const std::filesystem::path&) override {}
    void stop_sound() override {}
    void play_music(const std::filesystem::path&) override {}
    void stop_music() override {}
};

QuizModel first_themes(std::size_t themes) {
    QuizModel model = largest_quiz();
    model.themes.resize(themes);
    return model;
}

// The exam as a question type sees it, with every theme taken. Each draw
// takes a question of the pool at random without using the pool up, so that
// every iteration prepares a question like the first of an exam. Showing a
// text converts it to plain text, as the engine does to recognise media.
class BenchExam final : public ExamContext {
public:
    explicit BenchExam(std::size_t themes) : model_(first_themes(themes)), plain_(model_) {
        // The plain texts are converted once, as when the pool is first built.
        build_choice_pool(*this);
    }

    const QuizModel& model() const override { return model_; }
    const ExamSettings& settings() const override { return settings_; }
    ExamState& state() override { return state_; }
    const PlainTexts& plain() const override { return plain_; }
    MatchOptions match_options() const override { return MatchOptions::of(model_); }
    ExamView& view() override { return view_; }
    RandomSource& random() override { return random_; }
    bool theme_taken(std::size_t) const override { return true; }
    std::optional<QuestionRef> draw_question() override {
        const auto& all = state_.pool.all;
        state_.current = all[random_.below(static_cast<std::uint32_t>(all.size()))];
        return state_.current;
    }
    void show_text_or_media(Place place, std::string_view stored, int, bool) override {
        benchmark::DoNotOptimize(is_media_reference(rich_to_plain(stored)));
        view_.show_item(place, ShownItem{ShownItem::Kind::text, std::string(stored), {}, 0, 0});
    }
    QuestionRecord& record_entry() override { return record_; }
    std::string display_label(std::string_view text) const override { return kz::display_label(model_, text); }
    void press_next() override {}

private:
    QuizModel model_;
    PlainTexts plain_;
    ExamSettings settings_;
    ExamState state_;
    NullView view_;
    DefaultRandom random_{42};
    QuestionRecord record_;
};

// One theme of 500 questions: nearly every proposal drawn is accepted.
void BM_PrepareChoiceQuestionOnThemeOf500(benchmark::State& state) {
    BenchExam exam(1);
    for (auto _ : state) {
        auto boxes = prepare_choice_question(exam);
        if (!boxes) state.SkipWithError("no question was built");
        benchmark::DoNotOptimize(boxes);
    }
}
BENCHMARK(BM_PrepareChoiceQuestionOnThemeOf500)->Unit(benchmark::kMicrosecond);

// The largest quiz, 50 themes of 500 questions all taken: a proposal of the
// question's theme turns up once in 50 draws on average.
void BM_PrepareChoiceQuestionAmong50ThemesOf500(benchmark::State& state) {
    BenchExam exam(50);
    for (auto _ : state) {
        auto boxes = prepare_choice_question(exam);
        if (!boxes) state.SkipWithError("no question was built");
        benchmark::DoNotOptimize(boxes);
    }
}
BENCHMARK(BM_PrepareChoiceQuestionAmong50ThemesOf500)->Unit(benchmark::kMicrosecond);

// The list of a theme of 500 answers: each answer compared in capitals with
// those already listed, then sorted.
void BM_PreparePotPourriOnThemeOf500(benchmark::State& state) {
    BenchExam exam(1);
    for (auto _ : state) {
        auto candidates = prepare_potpourri(exam);
        if (!candidates || candidates->empty()) state.SkipWithError("no list was built");
        benchmark::DoNotOptimize(candidates);
    }
}
BENCHMARK(BM_PreparePotPourriOnThemeOf500)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kz::bench

BENCHMARK_MAIN();

// Starting an exam on the largest quiz the format allows (50 themes of 500
// questions, every theme ticked) and preparing questions.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_support.h"
#include "engine/exam_engine.h"

namespace kz::bench {
namespace {

// A window that shows nothing and answers like a student who ticks every
// theme and types a wrong answer.
class SilentView final : public ExamView {
public:
    MessageAnswer show_message(const Message&) override { return MessageAnswer::no; }
    void show_welcome_page(std::string_view) override {}
    void show_home_page(const HomeForm& form) override { themes = form.theme_names.size(); }
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
    void show_prompt(std::string_view) override {}
    void show_item(Place, const ShownItem& item) override { benchmark::DoNotOptimize(item.text.data()); }
    void show_candidates(const std::vector<std::string>&) override {}
    void show_masked_answer(std::string_view) override {}
    void show_tries_left(int, std::string_view) override {}
    void show_letters_line(std::string_view) override {}
    void clear_answer() override {}
    void release_question_images() override {}
    std::string typed_answer() override { return "une r\xE9ponse fausse"; }
    std::array<bool, 3> ticked_boxes() override { return {}; }
    std::optional<std::string> selected_candidate() override { return std::nullopt; }
    std::optional<TrueFalseChoice> true_false_choice() override { return std::nullopt; }
    HomeChoices read_home_choices() override {
        HomeChoices choices;
        choices.student_name = "Marie";
        choices.question_count_text = "400";
        choices.time_limit_text = "30";
        choices.random_order = true;
        choices.ticked_themes.assign(themes, true);
        return choices;
    }
    void show_correction(const CorrectionRequest&, std::string_view) override {}
    void play_sound(const std::filesystem::path&) override {}
    void stop_sound() override {}
    void play_music(const std::filesystem::path&) override {}
    void stop_music() override {}

    std::size_t themes = 0;
};

class QuietRegistry final : public Registry {
public:
    std::optional<std::string> read_string(std::string_view, std::string_view) override { return std::nullopt; }
    bool write_string(std::string_view, std::string_view, std::string_view) override { return true; }
};

class BenchFolders final : public SystemFolders {
public:
    std::filesystem::path temporary_folder() override { return std::filesystem::temp_directory_path(); }
    std::string windows_folder() override { return "C:\\WINDOWS"; }
};

class NoDialog final : public FileDialog {
public:
    std::optional<std::filesystem::path> choose_data_file() override { return std::nullopt; }
};

class NoMail final : public MailSender {
public:
    bool send_results_mail(const ResultsMail&) override { return true; }
};

class NoLauncher final : public ProgramLauncher {
public:
    bool open(const std::filesystem::path&) override { return true; }
};

struct Bench {
    QuizModel model = largest_quiz();
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "kz_engine_bench";
    SilentView view;
    SystemClock clock;
    DefaultRandom random{42};
    QuietRegistry registry;
    BenchFolders folders;
    NoDialog dialog;
    NoMail mail;
    NoLauncher launcher;
    Platform platform{clock, random, registry, folders, dialog, mail, launcher};
    MediaExtractor media{model, folder, folder, nullptr};

    Bench() {
        std::filesystem::create_directories(folder);
        model.show_welcome_page = 0;
        model.use_home_page = 1;
        model.allow_multiple_choice = 0;
        model.results_storage_mode = 1;
        model.results_file_path = (folder / "kz.dat").string();
    }
    ~Bench() { std::filesystem::remove_all(folder); }
};

// A student's first exam: every question text is converted to plain text
// while the pool is built, then the first question is drawn and shown.
void BM_StartExamOnLargestQuiz(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        ExamEngine engine(bench.model, bench.media, bench.view, bench.platform, bench.folder / "quiz.exe");
        engine.open();
        engine.next();
        if (!engine.exam_state().running) state.SkipWithError("the exam did not start");
        benchmark::DoNotOptimize(engine.exam_state().pool.remaining.size());
    }
}
BENCHMARK(BM_StartExamOnLargestQuiz)->Unit(benchmark::kMillisecond);

// A later exam in the same window ("Page d'accueil"): the plain texts are
// known, the pool of 25,000 questions is built again.
void BM_StartAnotherExamOnLargestQuiz(benchmark::State& state) {
    Bench bench;
    ExamEngine engine(bench.model, bench.media, bench.view, bench.platform, bench.folder / "quiz.exe");
    engine.open();
    engine.next();
    for (auto _ : state) {
        state.PauseTiming();
        while (!engine.exam_state().finished) engine.next();
        engine.go_home();
        state.ResumeTiming();
        engine.next();
        benchmark::DoNotOptimize(engine.exam_state().pool.remaining.size());
    }
}
BENCHMARK(BM_StartAnotherExamOnLargestQuiz)->Unit(benchmark::kMillisecond);

// One press of Next during the exam: grading the typed answer, closing its
// record entry, drawing and showing the next question.
void BM_GradeAndPrepareNextQuestion(benchmark::State& state) {
    Bench bench;
    ExamEngine engine(bench.model, bench.media, bench.view, bench.platform, bench.folder / "quiz.exe");
    engine.open();
    engine.next();
    for (auto _ : state) {
        if (engine.exam_state().asked + 1 >= engine.exam_settings().question_count) {
            state.PauseTiming();
            engine.next();  // the last answer ends the exam and writes the results
            engine.go_home();
            engine.next();
            state.ResumeTiming();
        }
        engine.next();
    }
}
BENCHMARK(BM_GradeAndPrepareNextQuestion)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kz::bench

BENCHMARK_MAIN();

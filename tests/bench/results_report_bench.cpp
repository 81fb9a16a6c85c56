// results-report on a school's results: 100,000 exam records of 20
// questions each (about 1 GB) by 1,500 students in 8 quizzes, read and
// reported in one pass, against 10,000 records, to show that memory hardly
// grows with the file. Counters: the peak of heap memory in use during the
// run, the process's peak resident memory after it, the file's size, the
// records read per second, and the page's size. BM_PageOpens then opens the
// page of 100,000 exams in headless Chromium (a screenshot, so that the
// whole page is laid out and painted): the time it takes and the browser's
// largest process's peak memory; goal: under 5 s.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <random>
#include <stdexcept>
#include <sys/resource.h>

#include "bench_support.h"
#include "heap_count.h"
#include "report_run.h"
#include "results/results_file.h"
#include "results/results_reader.h"

namespace {

namespace fs = std::filesystem;

constexpr int questions_per_exam = 20;

// A school of 1,500 students taking, over a school year, exams drawn from 8
// quizzes of 10 themes of 20 questions whose prompts and half of whose
// questions are rich text. Wrong answers come from a few usual mistakes and
// some typing of the student's own.
kz::ExamRecord class_exam(std::mt19937& rng, int number) {
    static const char* students[] = {"Camille", "Lucas", "Emma", "Noah", "L\xE9""a", "Hugo", "Chlo\xE9", "Louis"};
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    kz::ExamRecord record;
    constexpr int school = 1500;
    record.student_name = std::string(students[number % 8]) + " " + std::to_string(number % school / 8 + 1);
    record.type_code = pick(6);
    record.quiz_name = "Questionnaire de r\xE9vision " + std::to_string(number / 7 % 8 + 1);
    record.runner_path = "C:\\Classe\\Quiz\\revision.exe";
    const int day = number / 400;  // a school year of 250 days
    record.start_date = two(day % 28 + 1) + "/" + two(day / 28 % 12 + 1) + "/2026 " + two(8 + pick(9)) + ":" + two(pick(60));
    record.time_limit_on = pick(2);
    record.time_limit = 30;
    record.random_order = 1;
    record.inverted = pick(5) == 0;
    const double skill = 0.3 + 0.6 * (number % 40) / 40.0;  // of the student, number % 1500
    int clock = 9 * 3600;
    int right = 0;
    for (int q = 0; q < questions_per_exam; ++q) {
        const int theme = pick(10), question = pick(20);
        kz::QuestionRecord entry;
        entry.theme_name = "Th\xE8me " + std::to_string(theme + 1);
        entry.prompt = kz::bench::realistic_rtf("Quelle est la r\xE9ponse \xE0 cette question du th\xE8me " +
                                                std::to_string(theme + 1) + " ?");
        const std::string text = "Question " + std::to_string(theme * 20 + question) + " sur le ch\xE2teau";
        entry.question = question % 2 ? kz::bench::realistic_rtf(text, true) : text;
        entry.expected.fill(" ");
        entry.given.fill(" ");
        entry.expected[0] = "R\xE9ponse " + std::to_string(question);
        entry.right = std::uniform_real_distribution<double>(0, 1)(rng) < skill ? 1 : 0;
        right += entry.right;
        if (entry.right) {
            entry.given[0] = entry.expected[0];
        } else if (pick(3)) {
            entry.given[0] = "Erreur " + std::to_string(pick(6));
        } else {
            entry.given[0] = "faute " + std::to_string(rng() % 100000);
        }
        entry.start_time = two(clock / 3600) + ":" + two(clock / 60 % 60) + ":" + two(clock % 60);
        clock += 5 + pick(40);
        entry.end_time = two(clock / 3600) + ":" + two(clock / 60 % 60) + ":" + two(clock % 60);
        record.entries.push_back(std::move(entry));
    }
    record.score = right * 100 / questions_per_exam;
    return record;
}

const fs::path& results_file(int exams) {
    static std::map<int, fs::path> made;
    auto& path = made[exams];
    if (!path.empty()) return path;
    path = fs::temp_directory_path() / ("kz-results-bench-" + std::to_string(exams) + ".dat");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << kz::results_format_line;
    std::mt19937 rng(7);
    for (int i = 0; i < exams; ++i) out << kz::format_record(class_exam(rng, i));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path;
}

double resident_peak_mb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

void run_report(benchmark::State& state, bool csv) {
    const int exams = static_cast<int>(state.range(0));
    const fs::path& file = results_file(exams);
    const fs::path output = fs::temp_directory_path() / "kz-results-bench-rapport.html";
    const fs::path csv_folder = fs::temp_directory_path() / "kz-results-bench-csv";
    std::vector<std::string> arguments = {file.string(), "-o", output.string(), "--no-progress"};
    if (csv) arguments.insert(arguments.end(), {"--csv", csv_folder.string()});
    NullBuffer null;
    std::ostream quiet(&null);
    const std::size_t baseline = kz::bench::start_heap_measure();
    for (auto _ : state) {
        if (kz::report::run_results_report(arguments, quiet, quiet, false) != kz::report::report_done)
            state.SkipWithError("the report failed");
    }
    state.counters["peak_heap_MB"] = static_cast<double>(kz::bench::heap_peak_since(baseline)) / 1e6;
    state.counters["peak_rss_MB"] = resident_peak_mb();
    state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
    state.counters["exams_per_s"] =
        benchmark::Counter(static_cast<double>(exams) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    std::error_code ignored;
    state.counters["page_MB"] = static_cast<double>(fs::file_size(output, ignored)) / 1e6;
    fs::remove(output, ignored);
    fs::remove_all(csv_folder, ignored);
}

void BM_ReportHtml(benchmark::State& state) { run_report(state, false); }
BENCHMARK(BM_ReportHtml)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_ReportHtmlAndCsv(benchmark::State& state) { run_report(state, true); }
BENCHMARK(BM_ReportHtmlAndCsv)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// The page of 100,000 exams opened in headless Chromium: a screenshot of a
// desk's window, taken once the page has loaded, its script run and its
// layout done. Chromium's own start is measured apart on an empty page and
// taken off.
double chromium_seconds(const fs::path& page, const fs::path& profile) {
    const std::string command = "timeout 300 chromium --headless --no-sandbox --disable-gpu --no-first-run "
                                "--disable-background-networking --disable-component-update --hide-scrollbars "
                                "--user-data-dir=" + profile.string() + " --window-size=1280,900 --screenshot=" +
                                (profile / "shot.png").string() + " file://" + page.string() + " >/dev/null 2>&1";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_PageOpens(benchmark::State& state) {
    const fs::path& file = results_file(static_cast<int>(state.range(0)));
    const fs::path output = fs::temp_directory_path() / "kz-results-bench-page.html";
    const fs::path empty = fs::temp_directory_path() / "kz-results-bench-empty.html";
    const fs::path profile = fs::temp_directory_path() / "kz-results-bench-chromium";
    std::ofstream(empty) << "<!DOCTYPE html><title>vide</title>";
    NullBuffer null;
    std::ostream quiet(&null);
    if (kz::report::run_results_report({file.string(), "-o", output.string(), "--no-progress"}, quiet, quiet, false) !=
        kz::report::report_done) {
        state.SkipWithError("the report failed");
        return;
    }
    double opening = 0, starting = 0;
    for (auto _ : state) {
        starting = chromium_seconds(empty, profile);
        opening = chromium_seconds(output, profile);
    }
    if (opening < 0 || starting < 0) state.SkipWithError("chromium did not run");
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["page_MB"] = static_cast<double>(fs::file_size(output)) / 1e6;
    state.counters["chromium_open_s"] = opening;
    state.counters["chromium_start_s"] = starting;
    state.counters["chromium_peak_rss_MB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
    std::error_code ignored;
    fs::remove(output, ignored);
    fs::remove(empty, ignored);
    fs::remove_all(profile, ignored);
}
BENCHMARK(BM_PageOpens)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// The reader alone over the same file: what reading costs of the report.
void BM_ReadOnly(benchmark::State& state) {
    const fs::path& file = results_file(static_cast<int>(state.range(0)));
    const std::size_t baseline = kz::bench::start_heap_measure();
    for (auto _ : state) {
        auto reader = kz::ResultsReader::open(file);
        kz::ReadRecord record;
        kz::SkippedBytes skipped;
        std::size_t records = 0;
        while (reader.value().next(record, skipped) != kz::ResultsReader::Step::end) ++records;
        benchmark::DoNotOptimize(records);
    }
    state.counters["peak_heap_MB"] = static_cast<double>(kz::bench::heap_peak_since(baseline)) / 1e6;
}
BENCHMARK(BM_ReadOnly)->Arg(100000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

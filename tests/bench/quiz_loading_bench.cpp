// Loading the largest quiz the format allows (50 themes of 500 questions, five
// rich texts each) against a plain read of the same file: time, and the peak
// of heap memory in use while it runs.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "bench_support.h"
#include "heap_count.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/quiz_loader.h"

namespace {

namespace fs = std::filesystem;

const fs::path& largest_quiz_file() {
    static const fs::path path = [] {
        const fs::path file = fs::temp_directory_path() / "kz-largest-quiz.exe";
        std::string runner(4096, 'R');
        for (int i = 192; i < 199; ++i) runner[i] = '\0';
        const auto quiz = kz::bench::largest_quiz();
        auto bytes = kz::build_quiz_executable(runner, quiz, std::vector<std::string>(quiz.media.size()));
        if (!kz::write_whole_file(file, bytes.value())) throw std::runtime_error("cannot write " + file.string());
        return file;
    }();
    return path;
}

void report(benchmark::State& state, std::size_t baseline) {
    state.counters["peak_MB"] = static_cast<double>(kz::bench::heap_peak_since(baseline)) / 1e6;
    state.counters["file_MB"] = static_cast<double>(fs::file_size(largest_quiz_file())) / 1e6;
}

void BM_LoadLargestQuiz(benchmark::State& state) {
    const auto& path = largest_quiz_file();
    const std::size_t baseline = kz::bench::start_heap_measure();
    for (auto _ : state) {
        auto file = kz::FileSource::open(path);
        auto loaded = kz::load_quiz(*file, *kz::check_container(*file));
        if (!loaded) state.SkipWithError("the largest quiz does not load");
        benchmark::DoNotOptimize(loaded.value().themes.size());
    }
    report(state, baseline);
}
BENCHMARK(BM_LoadLargestQuiz)->Unit(benchmark::kMillisecond);

void BM_PlainReadOfTheSameFile(benchmark::State& state) {
    const auto& path = largest_quiz_file();
    const std::size_t baseline = kz::bench::start_heap_measure();
    for (auto _ : state) {
        auto bytes = kz::read_whole_file(path);
        benchmark::DoNotOptimize(bytes->size());
    }
    report(state, baseline);
}
BENCHMARK(BM_PlainReadOfTheSameFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

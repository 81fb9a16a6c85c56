// Loading the largest quiz the format allows (50 themes of 500 questions, five
// rich texts each) against a plain read of the same file: time, and the peak
// of heap memory in use while it runs.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "bench_support.h"
#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/quiz_loader.h"

namespace {

std::atomic<std::size_t> live_bytes{0};
std::atomic<std::size_t> peak_bytes{0};

void note_allocation(std::size_t size) {
    const std::size_t now = live_bytes += size;
    std::size_t peak = peak_bytes.load();
    while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
    }
}

}  // namespace

// Every heap allocation of the program is counted, with its size kept in a
// small header so that deletes can be counted too.
void* operator new(std::size_t size) {
    void* block = std::malloc(size + 16);
    if (!block) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    note_allocation(size);
    return static_cast<char*>(block) + 16;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    void* block = static_cast<char*>(p) - 16;
    live_bytes -= *static_cast<std::size_t*>(block);
    std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

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
    state.counters["peak_MB"] = static_cast<double>(peak_bytes.load() - baseline) / 1e6;
    state.counters["file_MB"] = static_cast<double>(fs::file_size(largest_quiz_file())) / 1e6;
}

void BM_LoadLargestQuiz(benchmark::State& state) {
    const auto& path = largest_quiz_file();
    const std::size_t baseline = live_bytes.load();
    peak_bytes = baseline;
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
    const std::size_t baseline = live_bytes.load();
    peak_bytes = baseline;
    for (auto _ : state) {
        auto bytes = kz::read_whole_file(path);
        benchmark::DoNotOptimize(bytes->size());
    }
    report(state, baseline);
}
BENCHMARK(BM_PlainReadOfTheSameFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// One runner of the stress runs of the results file, as a process of its own.
//
//   results_appender FILE RUNNER COUNT
//       appends COUNT stress records to FILE, then writes the longest wait of
//       one append, in milliseconds, to FILE.RUNNER.wait; exits 1 when an
//       append failed.
//   results_appender --hold FILE
//       takes the file's lock, writes the first half of a record, creates
//       FILE.held and waits, holding the lock, until it is killed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "common/locked_file.h"
#include "quiz/byte_source.h"
#include "results/results_file.h"
#include "stress/appended_records.h"

namespace {

std::filesystem::path beside(const std::filesystem::path& file, const std::string& suffix) {
    std::filesystem::path side = file;
    side += suffix;
    return side;
}

int append_records(const std::filesystem::path& file, int runner, int count) {
    using clock = std::chrono::steady_clock;
    clock::duration longest{};
    int failures = 0;
    for (int k = 0; k < count; ++k) {
        const std::string record = kz::stress::stress_record(runner, k);
        const auto start = clock::now();
        if (kz::append_record(file, record) != kz::AppendOutcome::appended) ++failures;
        longest = std::max(longest, clock::now() - start);
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(longest).count();
    if (!kz::write_whole_file(beside(file, std::string(".").append(std::to_string(runner)).append(".wait")), std::to_string(ms)))
        return 2;
    return failures == 0 ? 0 : 1;
}

int hold_lock(const std::filesystem::path& file) {
    auto opened = kz::LockedFile::open(file);
    if (!opened || opened.value().try_lock() != kz::LockedFile::Lock::taken) return 1;
    const auto size = opened.value().size();
    if (!size) return 1;
    std::string half = *size == 0 ? std::string(kz::results_format_line) : std::string();
    const std::string record = kz::stress::stress_record(99, 0);
    half.append(record, 0, record.size() / 2);
    if (!opened.value().append(half)) return 1;
    if (!kz::write_whole_file(beside(file, ".held"), "held")) return 1;
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--hold") return hold_lock(argv[2]);
    if (argc == 4) return append_records(argv[1], std::atoi(argv[2]), std::atoi(argv[3]));
    std::fprintf(stderr, "usage: results_appender FILE RUNNER COUNT | --hold FILE\n");
    return 64;
}

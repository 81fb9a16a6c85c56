// Runners of the Windows build appending to one results file at once, as a
// classroom's runners do on a shared folder: every record whole, and a
// runner killed while it holds the file does not block the others.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "harness/harness.h"
#include "results/results_file.h"
#include "stress/appended_records.h"

namespace kz::e2e {
namespace {

namespace fs = std::filesystem;

fs::path appender() { return env_path("KZ_APPENDER"); }

TEST(ResultsFileUnderWine, TenRunnersAppendingAtOnceLeaveFiveHundredWholeRecords) {
    const fs::path dir = scratch_dir("results-stress");
    const fs::path file = dir / "kz.dat";
    constexpr int runners = 10;
    constexpr int records = 50;
    std::vector<Process> processes;
    for (int r = 0; r < runners; ++r) {
        auto process = Process::start(appender(), dir,
                                      L"\"" + file.wstring() + L"\" " + std::to_wstring(r) + L" " +
                                          std::to_wstring(records));
        ASSERT_TRUE(process) << "runner " << r << " did not start";
        processes.push_back(std::move(*process));
    }
    for (Process& process : processes) {
        ASSERT_TRUE(process.wait_exit(60s));
        EXPECT_EQ(process.exit_code(), 0u) << "a runner had an append refused";
    }

    const stress::RecordCount count = stress::count_whole_records(file_bytes(file).value_or(""));
    EXPECT_EQ(count.fault, "");
    EXPECT_EQ(count.whole, std::size_t{runners * records});
    long longest = 0;
    for (int r = 0; r < runners; ++r) {
        const auto wait = file_bytes(dir / ("kz.dat." + std::to_string(r) + ".wait"));
        longest = std::max(longest, std::strtol(wait.value_or("").c_str(), nullptr, 10));
    }
    std::printf("%zu whole records from %d runners; longest wait for one append: %ld ms\n", count.whole, runners,
                longest);
}

TEST(ResultsFileUnderWine, ARunnerKilledWhileHoldingTheLockDelaysTheNextOneByLessThanASecond) {
    const fs::path dir = scratch_dir("results-killed");
    const fs::path file = dir / "kz.dat";
    auto holder = Process::start(appender(), dir, L"--hold \"" + file.wstring() + L"\"");
    ASSERT_TRUE(holder);
    ASSERT_TRUE(wait_until([&] { return fs::exists(dir / "kz.dat.held"); }));
    const std::string half = file_bytes(file).value_or("");
    EXPECT_EQ(append_record(file, "x\r\n", AppendPatience{300ms}), AppendOutcome::unreachable);
    EXPECT_EQ(file_bytes(file), half) << "nothing is written while another runner holds the file";

    holder->kill();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(append_record(file, stress::stress_record(1, 0)), AppendOutcome::appended);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(file_bytes(file), half + "\r\n" + stress::stress_record(1, 0))
        << "the record starts on a line of its own after the one cut short";
}

}  // namespace
}  // namespace kz::e2e

#pragma once
// The player's command line: the quiz to play and a few options. The quiz
// decides everything about the exam; the options only say where its results
// go and, for tests, fix the draws and the clock.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/result.h"
#include "exam/platform.h"

namespace kz::term {

struct PlayerOptions {
    std::filesystem::path quiz;
    std::optional<std::filesystem::path> results;  // --results: mode 0's file; overrides mode 1's
    bool sound = true;                             // --no-sound: nothing is ever played
    // Test switches.
    std::optional<std::uint64_t> seed;             // --seed=N: the same draws on every run
    std::optional<LocalTime> fake_clock;           // --clock=fake[:YYYY-MM-DDTHH:MM:SS]
    bool help = false;                             // --help
};

inline constexpr LocalTime fake_clock_start{2026, 12, 5, 9, 7, 3};

// The arguments after the program's name, UTF-8. The error is a sentence in
// French, UTF-8.
Result<PlayerOptions, std::string> parse_command_line(const std::vector<std::string>& arguments);

// The text of --help, UTF-8.
std::string usage_text();

}  // namespace kz::term

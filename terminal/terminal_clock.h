#pragma once
// The player's sense of time: the local date and time that the results
// record carries, and the steady time on which the exam's one-second timers
// run. Normally both are the computer's. The fake clock, a switch for tests,
// starts at a fixed moment and moves only when told to (":attendre"), so that
// the dates, times and time limits of a scripted exam come out the same on
// every run.
#include <chrono>
#include <optional>
#include <string_view>

#include "exam/platform.h"

namespace kz::term {

class TerminalClock final : public Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    static TerminalClock system();
    static TerminalClock fake(LocalTime start);

    LocalTime now() override;
    TimePoint steady_now() const;

    bool is_fake() const { return fake_; }
    // Moves the fake clock on; the system clock is not moved.
    void advance(std::chrono::seconds seconds);

private:
    TerminalClock(bool fake, LocalTime start);

    bool fake_ = false;
    LocalTime start_;
    std::chrono::seconds moved_{0};
    TimePoint origin_;  // the steady time of the fake clock's start
};

// "2026-12-05T09:07:03" as a local time; nothing when the text is not a valid
// date and time in that form.
std::optional<LocalTime> parse_local_time(std::string_view text);

}  // namespace kz::term

#pragma once
// The main window's two one-second timers, kept by the player: the question's
// countdown and the exam's elapsed time. Each timer is due one second after
// it was started, then every second; the player hands each due second to the
// engine as a tick, in the order the seconds fell.
#include <array>
#include <optional>

#include "exam/exam_view.h"
#include "terminal_clock.h"

namespace kz::term {

class ExamTimers {
public:
    using TimePoint = TerminalClock::TimePoint;

    explicit ExamTimers(const TerminalClock& clock) : clock_(clock) {}

    void start(Timer timer);
    void stop(Timer timer);
    bool running(Timer timer) const;

    // When the next tick falls; nothing while no timer runs.
    std::optional<TimePoint> next_due() const;

    // The timer whose tick is due now (the earliest when several are), moved
    // on by one second; nothing when no tick is due yet.
    std::optional<Timer> take_due();

private:
    struct Slot {
        bool running = false;
        TimePoint due{};
    };
    Slot& slot(Timer timer);
    const Slot& slot(Timer timer) const;

    const TerminalClock& clock_;
    std::array<Slot, 2> slots_;  // countdown, elapsed
};

}  // namespace kz::term

#include "exam_timers.h"

namespace kz::term {

namespace {
constexpr std::chrono::seconds period{1};
}

ExamTimers::Slot& ExamTimers::slot(Timer timer) { return slots_[timer == Timer::countdown ? 0 : 1]; }

const ExamTimers::Slot& ExamTimers::slot(Timer timer) const {
    return slots_[timer == Timer::countdown ? 0 : 1];
}

void ExamTimers::start(Timer timer) {
    // Starting a running timer starts its second again, as a window timer does.
    slot(timer) = Slot{true, clock_.steady_now() + period};
}

void ExamTimers::stop(Timer timer) { slot(timer).running = false; }

bool ExamTimers::running(Timer timer) const { return slot(timer).running; }

std::optional<ExamTimers::TimePoint> ExamTimers::next_due() const {
    std::optional<TimePoint> earliest;
    for (const Slot& s : slots_)
        if (s.running && (!earliest || s.due < *earliest)) earliest = s.due;
    return earliest;
}

std::optional<Timer> ExamTimers::take_due() {
    const auto now = clock_.steady_now();
    std::optional<Timer> due;
    for (Timer timer : {Timer::countdown, Timer::elapsed}) {
        const Slot& s = slot(timer);
        if (!s.running || s.due > now) continue;
        if (!due || s.due < slot(*due).due) due = timer;
    }
    if (due) slot(*due).due += period;
    return due;
}

}  // namespace kz::term

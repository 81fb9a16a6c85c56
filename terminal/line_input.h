#pragma once
// The student's lines, read from standard input on a thread of their own so
// that the exam's one-second timers keep running while the player waits for
// an answer. The engine itself only ever runs on the main thread: this thread
// does nothing but read and queue lines.
#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace kz::term {

class LineInput {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Starts reading standard input.
    static LineInput from_standard_input();

    struct Event {
        enum class Kind { line, ended, timed_out };
        Kind kind = Kind::ended;
        std::string text;  // the line as read (UTF-8), without its line end
    };

    // The next line; `ended` once the input is over and every line has been
    // taken; `timed_out` when the deadline passes first.
    Event wait(std::optional<TimePoint> deadline);

    bool from_terminal() const { return from_terminal_; }
    bool ended() const { return ended_seen_; }

    // Drops the half-typed line on a terminal (see discard_typed_input).
    void discard_typed_ahead();

private:
    struct Queue;
    LineInput(std::shared_ptr<Queue> queue, bool from_terminal);
    friend void read_lines(const std::shared_ptr<Queue>& queue);

    std::shared_ptr<Queue> queue_;
    bool from_terminal_ = false;
    bool ended_seen_ = false;
};

}  // namespace kz::term

#include "line_input.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "standard_streams.h"

namespace kz::term {

// Shared by the reading thread and the player. The thread keeps its own
// reference: it may still be blocked in a read when the player has finished,
// and the process then ends without waiting for it.
struct LineInput::Queue {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::string> lines;
    bool ended = false;
};

void read_lines(const std::shared_ptr<LineInput::Queue>& queue) {
    std::string pending;
    bool first_chunk = true;
    for (;;) {
        std::string chunk = read_input_chunk();
        if (first_chunk && chunk.starts_with("\xEF\xBB\xBF")) chunk.erase(0, 3);  // a byte-order mark
        first_chunk = false;

        std::deque<std::string> complete;
        if (chunk.empty()) {
            if (!pending.empty()) complete.push_back(std::move(pending));
        } else {
            pending += chunk;
            std::size_t start = 0;
            for (std::size_t end; (end = pending.find('\n', start)) != std::string::npos; start = end + 1) {
                std::string line = pending.substr(start, end - start);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                complete.push_back(std::move(line));
            }
            pending.erase(0, start);
        }

        {
            const std::lock_guard lock(queue->mutex);
            for (auto& line : complete) queue->lines.push_back(std::move(line));
            if (chunk.empty()) queue->ended = true;
        }
        queue->arrived.notify_all();
        if (chunk.empty()) return;
    }
}

LineInput LineInput::from_standard_input() {
    auto queue = std::make_shared<Queue>();
    std::thread([queue] { read_lines(queue); }).detach();
    return LineInput(std::move(queue), input_is_terminal());
}

LineInput::LineInput(std::shared_ptr<Queue> queue, bool from_terminal)
    : queue_(std::move(queue)), from_terminal_(from_terminal) {}

LineInput::Event LineInput::wait(std::optional<TimePoint> deadline) {
    std::unique_lock lock(queue_->mutex);
    const auto ready = [this] { return !queue_->lines.empty() || queue_->ended; };
    if (deadline) {
        if (!queue_->arrived.wait_until(lock, *deadline, ready)) return Event{Event::Kind::timed_out, {}};
    } else {
        queue_->arrived.wait(lock, ready);
    }
    if (!queue_->lines.empty()) {
        Event event{Event::Kind::line, std::move(queue_->lines.front())};
        queue_->lines.pop_front();
        return event;
    }
    ended_seen_ = true;
    return Event{Event::Kind::ended, {}};
}

void LineInput::discard_typed_ahead() {
    if (from_terminal_) discard_typed_input();
}

}  // namespace kz::term

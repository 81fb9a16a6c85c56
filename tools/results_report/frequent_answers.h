#pragma once
// The most frequent answers of a question, counted in bounded memory: exact
// while the question has met fewer distinct answers than the counter holds,
// and past that the counter keeps the frequent ones and replaces the rarest
// (the "space-saving" count: an answer given more often than once in
// `capacity` answers is never lost, and a count that may include answers of
// others says so).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kz::report {

class FrequentAnswers {
public:
    explicit FrequentAnswers(std::size_t capacity = 32) : capacity_(capacity) {}

    // One more answer; answers with the same key are one answer, shown as the
    // first of them was.
    void add(std::string_view key, std::string_view shown);

    struct Answer {
        std::string shown;
        std::uint64_t count = 0;
        bool exact = true;  // false: at most this many, perhaps fewer
    };
    // The n most frequent, most frequent first; equal counts in the order
    // the answers first came.
    std::vector<Answer> top(std::size_t n) const;

private:
    struct Slot {
        std::string key;
        std::string shown;
        std::uint64_t count = 0;
        std::uint64_t overcount = 0;  // answers of others it may include
        std::uint64_t arrival = 0;
    };
    std::size_t capacity_;
    std::vector<Slot> slots_;
    std::uint64_t arrivals_ = 0;
};

}  // namespace kz::report

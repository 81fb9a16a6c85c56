#include "duplicate_records.h"

#include <cstring>
#include <string_view>

namespace kz::report {

namespace {

// Two 64-bit hashes of the same bytes, mixed eight bytes at a time with
// different multipliers: together a fingerprint whose collisions between
// different records are too rare to matter (about one in 10^20 for a
// million records).
class Fingerprinter {
public:
    void add(std::string_view text) {
        std::size_t i = 0;
        for (; i + 8 <= text.size(); i += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + i, 8);
            mix(word);
        }
        std::uint64_t rest = 0;
        std::memcpy(&rest, text.data() + i, text.size() - i);
        // The length ends every text, so that texts cut elsewhere differ.
        mix(rest ^ (static_cast<std::uint64_t>(text.size()) << 56));
        mix(text.size());
    }
    void add(std::int64_t number) { mix(static_cast<std::uint64_t>(number)); }

    std::pair<std::uint64_t, std::uint64_t> value() const { return {finish(a_), finish(b_)}; }

private:
    static std::uint64_t rotate(std::uint64_t x, int n) { return (x << n) | (x >> (64 - n)); }
    void mix(std::uint64_t word) {
        a_ = rotate(a_ ^ word, 29) * 0x9E3779B97F4A7C15ull;
        b_ = rotate(b_ + word, 31) * 0xC2B2AE3D27D4EB4Full + 0x165667B19E3779F9ull;
    }
    // splitmix64's finaliser, so that every bit of the state reaches every bit.
    static std::uint64_t finish(std::uint64_t x) {
        x ^= x >> 30;
        x *= 0xBF58476D1CE4E5B9ull;
        x ^= x >> 27;
        x *= 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }
    std::uint64_t a_ = 0x243F6A8885A308D3ull;
    std::uint64_t b_ = 0x13198A2E03707344ull;
};

}  // namespace

std::optional<std::size_t> DuplicateRecords::met_before(const ExamRecord& record, std::size_t file) {
    Fingerprinter f;
    f.add(record.student_name);
    f.add(record.type_code);
    f.add(record.quiz_name);
    f.add(record.runner_path);
    f.add(record.score);
    f.add(record.start_date);
    f.add(record.time_limit_on);
    f.add(record.time_limit);
    f.add(record.random_order);
    f.add(record.inverted);
    f.add(static_cast<std::int64_t>(record.entries.size()));
    for (const QuestionRecord& entry : record.entries) {
        f.add(entry.theme_name);
        f.add(entry.prompt);
        f.add(entry.question);
        for (std::size_t k = 0; k < answer_slots; ++k) {
            f.add(entry.expected[k]);
            f.add(entry.given[k]);
        }
        f.add(entry.right);
        f.add(entry.start_time);
        f.add(entry.end_time);
    }
    const auto [a, b] = f.value();
    const auto [where, added] = seen_.try_emplace(Fingerprint{a, b}, static_cast<std::uint32_t>(file));
    if (added) return std::nullopt;
    return where->second;
}

}  // namespace kz::report

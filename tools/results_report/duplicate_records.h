#pragma once
// Records met more than once: the same file given twice, a copy of a file
// given beside it, a class's file merged into another. Two records are the
// same exam when every line of theirs is the same (the start times of every
// question to the second); such a record is counted once.
//
// Each record is remembered by a 128-bit fingerprint of its lines, and the
// file it was first met in: memory grows by a few tens of bytes per exam,
// a few megabytes for a hundred thousand exams.
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "results/exam_record.h"

namespace kz::report {

class DuplicateRecords {
public:
    // The file (by its number among those read) where an identical record
    // was met first; nothing when the record is new, which is then
    // remembered as met in `file`.
    std::optional<std::size_t> met_before(const ExamRecord& record, std::size_t file);

    void clear() { seen_.clear(); }

private:
    struct Fingerprint {
        std::uint64_t a = 0, b = 0;
        friend bool operator==(const Fingerprint&, const Fingerprint&) = default;
    };
    struct Hash {
        std::size_t operator()(const Fingerprint& f) const { return static_cast<std::size_t>(f.a); }
    };
    std::unordered_map<Fingerprint, std::uint32_t, Hash> seen_;
};

}  // namespace kz::report

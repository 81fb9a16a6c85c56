#pragma once
// Each student's first exam of each quiz, for a report that leaves replays
// out (--first): "Recommencer" on the end page replays the same questions,
// which the student then knows, and would inflate their facility.
//
// The first exam is the earliest by its start date; exams of the same
// minute go by the order they were read. Deciding needs every exam, so the
// files are read twice: a first reading notes each student's first exam of
// each quiz, the second reports those alone.
#include <cstdint>
#include <string>
#include <unordered_map>

#include "results/exam_record.h"

namespace kz::report {

class FirstExams {
public:
    // First reading: the exam read `order`-th (counting the exams that the
    // report would count otherwise).
    void note(const ExamRecord& record, std::uint64_t order);
    // Second reading, in the same order: whether that exam is the first of
    // its student at its quiz. An exam that the first reading did not meet
    // (appended in between) is the first only when its student had none.
    bool is_first(const ExamRecord& record, std::uint64_t order);

private:
    struct Earliest {
        std::int64_t date_key;
        std::uint64_t order;
    };
    std::string key_of(const ExamRecord& record) const;
    std::unordered_map<std::string, Earliest> first_;
};

}  // namespace kz::report

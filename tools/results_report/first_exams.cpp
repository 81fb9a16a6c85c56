#include "first_exams.h"

#include "class_report.h"
#include "results/results_reader.h"

namespace kz::report {

namespace {

std::int64_t date_key_of(const ExamRecord& record) {
    const auto date = parse_record_date(record.start_date);
    return date ? date->sort_key() : 0;
}

}  // namespace

std::string FirstExams::key_of(const ExamRecord& record) const {
    return folded(record.student_name) + '\x1F' + folded(record.quiz_name);
}

void FirstExams::note(const ExamRecord& record, std::uint64_t order) {
    const Earliest exam{date_key_of(record), order};
    const auto [where, added] = first_.try_emplace(key_of(record), exam);
    if (!added && exam.date_key < where->second.date_key) where->second = exam;
}

bool FirstExams::is_first(const ExamRecord& record, std::uint64_t order) {
    const auto [where, added] = first_.try_emplace(key_of(record), Earliest{date_key_of(record), order});
    return added || where->second.order == order;
}

}  // namespace kz::report

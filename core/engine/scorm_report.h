#pragma once
// What a learning platform receives of an exam through the SCORM 1.2
// run-time, when the quiz is played inside one: the values of the platform's
// data model for its gradebook (score, status, time) and its report of the
// questions (one interaction each), made from the exam's record. Values are
// Windows-1252 texts, within the lengths the standard allows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exam/exam_settings.h"
#include "results/exam_record.h"

namespace kz {

// The student's name as the home page shows it, from the platform's
// cmi.core.student_name, which is "Nom, Prénom": "Prénom Nom". A name
// without a comma stays as it is; blanks around the parts go.
std::string name_from_platform(std::string_view platform_name);

struct ScormValue {
    std::string element;  // "cmi.core.score.raw"
    std::string value;
    friend bool operator==(const ScormValue&, const ScormValue&) = default;
};

struct ScormExam {
    const ExamRecord& record;
    ExamType type;
    std::int64_t session_seconds = 0;          // the exams of this session so far, this one included
    std::optional<int> mastery_score;          // cmi.student_data.mastery_score, when the platform gives one
    std::size_t first_interaction = 0;         // cmi.interactions._count before this exam
};

// The values to set, in this order, for an exam that has just ended: the
// score in per cent (min 0, max 100); the status, "passed" or "failed"
// against the mastery score, else "completed"; the session's time; then for
// each question its interaction: id (from its theme and question), type
// ("fill-in" for typed answers, "choice" for the proposals and the list,
// "true-false"), the student's response, the right response, the result
// ("correct" or "wrong"), the time it was put up and its latency.
std::vector<ScormValue> scorm_values(const ScormExam& exam);

// A SCORM 1.2 timespan, "HHHH:MM:SS" with at least two digits of hours.
std::string scorm_timespan(std::int64_t seconds);

}  // namespace kz

#pragma once
// The record of one exam, filled while it runs and appended to the results
// data file at its end: a header and one entry per graded question.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kz {

inline constexpr std::size_t max_record_entries = 500;
inline constexpr std::size_t answer_slots = 5;

struct QuestionRecord {
    std::string theme_name;
    std::string prompt;    // display label of the prompt of the direction used
    std::string question;  // display label of the question side
    std::array<std::string, answer_slots> expected;  // " " when not written
    std::array<std::string, answer_slots> given;
    std::int32_t right = 0;
    std::string start_time;  // hh:mm:ss the question was put up
    std::string end_time;    // hh:mm:ss the entry was closed

    friend bool operator==(const QuestionRecord&, const QuestionRecord&) = default;
};

struct ExamRecord {
    // Header.
    std::string student_name;
    std::int32_t type_code = 0;  // 1 open answer, 0 multiple choice, 2 to 5 as the type index
    std::string quiz_name;
    std::string runner_path;
    std::int32_t score = 0;      // per cent of right answers, truncated
    std::string start_date;      // "dd/mm/yyyy hh:mm"
    std::int32_t time_limit_on = 0;
    std::int32_t time_limit = 0;
    std::int32_t inverted = 0;
    std::int32_t random_order = 0;
    std::string end_time;        // hh:mm:ss, kept for the exam's own use

    std::vector<QuestionRecord> entries;  // closed entries, in question order
    QuestionRecord open_entry;            // the question being graded

    // A new exam: no entry; the first question is put up at `start_time`.
    void begin(std::string start_time);

    // Every answer slot of the open entry back to a single blank, before the
    // question is graded.
    void blank_answers();

    // Completes the open entry (closed at `time`, with its theme, prompt and
    // question labels), adds it to the entries and opens the next one, put up
    // at the same moment. Entries past the capacity are not kept.
    void close_question_entry(const std::string& time, std::string theme_name, std::string prompt,
                              std::string question);
};

// "hh:mm:ss" and "dd/mm/yyyy hh:mm" of the local clock, each part zero-padded.
struct LocalTime;
std::string clock_time_text(const LocalTime& time);
std::string date_time_text(const LocalTime& time);

}  // namespace kz

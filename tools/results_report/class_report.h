#pragma once
// What the report tells, gathered in one pass over the exam records: per
// quiz the exams, the distribution of scores and each question's analysis,
// and per student their exams over time. Memory grows with the number of
// quizzes, questions and students, never with the number of exams: the lists
// of exams keep the most recent ones, scores are counted per per-cent value,
// and the wrong answers of a question are counted in bounded space.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "frequent_answers.h"
#include "results/exam_record.h"

namespace kz::report {

// One exam as the lists of the report show it. Texts are UTF-8.
struct ExamRow {
    std::uint64_t sequence = 0;  // the order in which the exams were read
    std::int64_t date_key = 0;   // yyyymmddhhmm
    std::string date;            // dd/mm/yyyy hh:mm, as recorded
    std::string student;
    std::string quiz;
    std::int32_t type_code = 0;
    std::int32_t score = 0;      // per cent
    std::uint32_t questions = 0;
    std::uint32_t right = 0;
    std::optional<int> seconds;  // time spent
    bool time_limit_on = false;
    std::int32_t time_limit = 0;  // seconds per question
    bool random_order = false;
    bool inverted = false;
};

ExamRow exam_row(const ExamRecord& record, std::uint64_t sequence);

// The most recent of the values given, at most `limit` (0: all), by date
// and then by reading order.
template <class T>
class MostRecent {
public:
    explicit MostRecent(std::size_t limit) : limit_(limit) {}

    void add(std::int64_t key, std::uint64_t sequence, T value) {
        ++seen_;
        Held held{key, sequence, std::move(value)};
        if (limit_ == 0 || heap_.size() < limit_) {
            heap_.push_back(std::move(held));
            std::push_heap(heap_.begin(), heap_.end(), later);
        } else if (later(held, heap_.front())) {
            std::pop_heap(heap_.begin(), heap_.end(), later);
            heap_.back() = std::move(held);
            std::push_heap(heap_.begin(), heap_.end(), later);
        }
    }
    // Oldest first.
    std::vector<const T*> in_order() const {
        std::vector<const Held*> held;
        for (const Held& h : heap_) held.push_back(&h);
        std::sort(held.begin(), held.end(), [](const Held* a, const Held* b) { return later(*b, *a); });
        std::vector<const T*> values;
        for (const Held* h : held) values.push_back(&h->value);
        return values;
    }
    std::uint64_t seen() const { return seen_; }
    std::size_t kept() const { return heap_.size(); }

private:
    struct Held {
        std::int64_t key;
        std::uint64_t sequence;
        T value;
    };
    // The heap's front is the oldest value kept.
    static bool later(const Held& a, const Held& b) {
        return a.key != b.key ? a.key > b.key : a.sequence > b.sequence;
    }
    std::size_t limit_;
    std::vector<Held> heap_;
    std::uint64_t seen_ = 0;
};

// Scores counted per per-cent value: mean, median and spread are exact and
// take no memory per exam.
class ScoreDistribution {
public:
    void add(std::int32_t percent);  // outside 0 to 100: the nearest end
    std::uint64_t count() const { return count_; }
    double mean() const;
    double median() const;
    // Of the exams themselves, as a population (divided by n, not n - 1).
    double standard_deviation() const;
    std::int32_t lowest() const;
    std::int32_t highest() const;
    // Exams per mark out of 20 (0 to 20), the marks that the runner shows.
    std::array<std::uint64_t, 21> by_marks() const;

private:
    std::array<std::uint64_t, 101> per_percent_{};
    std::uint64_t count_ = 0;
};

// One question of a quiz, known by its theme and question text.
struct QuestionStats {
    std::string theme;     // UTF-8 plain text
    std::string question;  // UTF-8 plain text
    std::uint64_t asked = 0;
    std::uint64_t right = 0;
    std::uint32_t type_mask = 0;  // bit n: asked in an exam of type code n
    // The question's result (x, 0 or 1) against the share of right answers
    // among the exam's other questions (y), over exams of more than one
    // question.
    std::uint64_t paired = 0;
    double sum_x = 0, sum_y = 0, sum_xy = 0, sum_yy = 0;
    FrequentAnswers wrong_answers;

    // Share of right answers.
    double facility() const { return asked ? static_cast<double>(right) / static_cast<double>(asked) : 0; }
};

// Fewer exams than this tell nothing of a question's discrimination, and
// fewer than the second leave it uncertain: its 95 % interval is then
// wider than the range that tells a good question from a weak one.
inline constexpr std::uint64_t discrimination_minimum = 5;
inline constexpr std::uint64_t discrimination_confident = 30;

struct Discrimination {
    enum class Kind { not_enough_data, undefined, value } kind = Kind::not_enough_data;
    double value = 0;  // the correlation, -1 to 1
    std::uint64_t exams = 0;  // that it rests on
    double low = 0, high = 0;  // its 95 % confidence interval (Fisher's z)
    bool uncertain() const { return kind == Kind::value && exams < discrimination_confident; }
};
// The correlation between the question's result and the rest of the exam's
// score (point-biserial). Undefined when every exam answered it alike, or
// when the rest of the score did not vary.
Discrimination discrimination(const QuestionStats& question);

// The exams of one quiz that have one number of questions: per place in
// the exam, how many were answered right, and the exams' numbers of right
// answers. Their internal consistency treats each place as one item, as
// learning platforms do for quizzes whose questions are drawn at random.
struct SameLengthExams {
    std::uint32_t questions = 0;
    std::uint64_t exams = 0;
    std::vector<std::uint64_t> right_at;  // per place
    double sum = 0, sum_squares = 0;      // of the right answers per exam
};

// Fewer exams of one length than this give no reliability.
inline constexpr std::uint64_t reliability_minimum = 10;

struct Reliability {
    enum class Kind { not_enough_data, undefined, value } kind = Kind::not_enough_data;
    double kr20 = 0;                      // Kuder-Richardson 20: Cronbach's alpha of right/wrong items
    double measurement_error = 0;         // standard error of measurement, in per cent of the exam
    std::uint32_t questions = 0;          // the length it was worked out on
    std::uint64_t exams = 0;              // the exams of that length
};
// Over the length that has the most exams.
Reliability reliability(const std::vector<SameLengthExams>& lengths);

struct QuizStats {
    std::string name;  // UTF-8
    std::uint64_t exams = 0;
    std::uint64_t entries = 0;
    ScoreDistribution scores;
    std::int64_t first_date = 0, last_date = 0;
    std::uint32_t type_mask = 0;
    MostRecent<ExamRow> recent;
    std::vector<QuestionStats> questions;  // in the order first asked
    std::unordered_set<std::string> students;
    std::vector<SameLengthExams> lengths;  // in the order first met

    explicit QuizStats(std::size_t limit) : recent(limit) {}
    std::unordered_map<std::string, std::size_t> question_index;  // plain theme, 0x1F, plain question
    std::unordered_map<std::string, std::size_t> stored_index;    // as stored, for speed
};

struct StudentStats {
    std::string name;  // UTF-8, as first written
    std::uint64_t exams = 0;
    double percent_sum = 0;
    std::int64_t first_date = 0, last_date = 0;  // yyyymmddhhmm
    std::uint64_t last_sequence = 0;             // the most recent exam's reading order
    std::string last_date_text;                  // that exam's date, as recorded
    std::int32_t last_score = 0;                 // and its score
    MostRecent<ExamRow> recent;
    explicit StudentStats(std::size_t limit) : recent(limit) {}
};

// How many rows each list of the page holds at most (0: all); the
// statistics count everything all the same.
inline constexpr std::size_t default_list_limit = 100;
struct ReportLimits {
    std::size_t exams_per_quiz = default_list_limit;     // the most recent
    std::size_t exams_per_student = default_list_limit;  // the most recent
    std::size_t quizzes = default_list_limit;            // those with the most exams
    std::size_t questions_per_quiz = default_list_limit;  // the most asked
    std::size_t students = default_list_limit;           // the most recently seen

    static ReportLimits all_lists(std::size_t rows) { return {rows, rows, rows, rows, rows}; }
};

// The first `limit` of the values (all when 0).
template <class T>
std::vector<T> first_of(std::vector<T> values, std::size_t limit) {
    if (limit && values.size() > limit) values.resize(limit);
    return values;
}

class ClassReport {
public:
    explicit ClassReport(ReportLimits limits = {}) : limits_(limits) {}

    void add(const ExamRecord& record);

    std::uint64_t exams() const { return sequence_; }
    // By name.
    std::vector<const QuizStats*> quizzes() const;
    std::vector<const StudentStats*> students() const;
    // What the page lists, by name: the `limit` quizzes of the most exams,
    // the `limit` students seen most recently (all when 0).
    std::vector<const QuizStats*> listed_quizzes(std::size_t limit) const;
    std::vector<const StudentStats*> listed_students(std::size_t limit) const;
    std::int64_t first_date() const { return first_date_; }
    std::int64_t last_date() const { return last_date_; }

private:
    QuizStats& quiz_of(const std::string& stored_name);
    QuestionStats& question_of(QuizStats& quiz, const QuestionRecord& entry);

    ReportLimits limits_;
    std::uint64_t sequence_ = 0;
    std::int64_t first_date_ = 0, last_date_ = 0;
    std::vector<QuizStats> quizzes_;
    std::unordered_map<std::string, std::size_t> quiz_index_;
    std::vector<StudentStats> students_;
    std::unordered_map<std::string, std::size_t> student_index_;
    std::string key_;  // reused for look-ups
};

// The `limit` questions of a quiz asked most often (all when 0), in the
// order they were first asked.
std::vector<const QuestionStats*> listed_questions(const QuizStats& quiz, std::size_t limit);

// The key under which names and answers are one: blanks tidied, lower case
// (Windows-1252).
std::string folded(std::string_view stored);

// What the student gave for an entry, in plain text: the answers written,
// joined by " + " (the boxes ticked of a multiple choice); empty when none.
std::string given_answer(const QuestionRecord& entry);

}  // namespace kz::report

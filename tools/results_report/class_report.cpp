#include "class_report.h"

#include <cmath>

#include "common/cp1252.h"
#include "common/text_helpers.h"
#include "media/rich_text.h"
#include "report_text.h"
#include "results/results_reader.h"

namespace kz::report {

namespace {

constexpr std::size_t stored_index_limit = 8192;

std::uint32_t type_bit(std::int32_t type_code) {
    return type_code >= 0 && type_code < 32 ? 1u << type_code : 0;
}

bool is_blank_text(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

ExamRow exam_row(const ExamRecord& record, std::uint64_t sequence) {
    ExamRow row;
    row.sequence = sequence;
    if (const auto date = parse_record_date(record.start_date)) row.date_key = date->sort_key();
    row.date = cp1252_to_utf8(record.start_date);
    row.student = cp1252_to_utf8(tidy_blanks(record.student_name));
    row.quiz = cp1252_to_utf8(tidy_blanks(record.quiz_name));
    row.type_code = record.type_code;
    row.score = record.score;
    row.questions = static_cast<std::uint32_t>(record.entries.size());
    for (const QuestionRecord& entry : record.entries) row.right += entry.right != 0;
    row.seconds = time_spent(record);
    row.time_limit_on = record.time_limit_on != 0;
    row.time_limit = record.time_limit;
    row.random_order = record.random_order != 0;
    row.inverted = record.inverted != 0;
    return row;
}

void ScoreDistribution::add(std::int32_t percent) {
    ++per_percent_[static_cast<std::size_t>(std::clamp(percent, 0, 100))];
    ++count_;
}

double ScoreDistribution::mean() const {
    if (!count_) return 0;
    double sum = 0;
    for (std::size_t p = 0; p < per_percent_.size(); ++p) sum += static_cast<double>(p) * static_cast<double>(per_percent_[p]);
    return sum / static_cast<double>(count_);
}

double ScoreDistribution::median() const {
    if (!count_) return 0;
    // The value at a zero-based rank in the sorted scores.
    auto at_rank = [&](std::uint64_t rank) {
        std::uint64_t below = 0;
        for (std::size_t p = 0; p < per_percent_.size(); ++p) {
            below += per_percent_[p];
            if (below > rank) return static_cast<double>(p);
        }
        return 100.0;
    };
    if (count_ % 2) return at_rank(count_ / 2);
    return (at_rank(count_ / 2 - 1) + at_rank(count_ / 2)) / 2;
}

double ScoreDistribution::standard_deviation() const {
    if (!count_) return 0;
    const double m = mean();
    double squares = 0;
    for (std::size_t p = 0; p < per_percent_.size(); ++p) {
        const double d = static_cast<double>(p) - m;
        squares += d * d * static_cast<double>(per_percent_[p]);
    }
    return std::sqrt(squares / static_cast<double>(count_));
}

std::int32_t ScoreDistribution::lowest() const {
    for (std::size_t p = 0; p < per_percent_.size(); ++p)
        if (per_percent_[p]) return static_cast<std::int32_t>(p);
    return 0;
}

std::int32_t ScoreDistribution::highest() const {
    for (std::size_t p = per_percent_.size(); p-- > 0;)
        if (per_percent_[p]) return static_cast<std::int32_t>(p);
    return 0;
}

std::array<std::uint64_t, 21> ScoreDistribution::by_marks() const {
    std::array<std::uint64_t, 21> marks{};
    for (std::size_t p = 0; p < per_percent_.size(); ++p)
        marks[static_cast<std::size_t>(marks_of(static_cast<std::int32_t>(p)))] += per_percent_[p];
    return marks;
}

Discrimination discrimination(const QuestionStats& q) {
    Discrimination d;
    d.exams = q.paired;
    if (q.paired < discrimination_minimum) return d;
    const double n = static_cast<double>(q.paired);
    const double spread_x = n * q.sum_x - q.sum_x * q.sum_x;
    const double spread_y = n * q.sum_yy - q.sum_y * q.sum_y;
    // Sums of thousands of shares carry rounding; a spread that small is none.
    d.kind = Discrimination::Kind::undefined;
    if (spread_x <= 0 || spread_y <= 1e-9 * n * n) return d;
    const double r = (n * q.sum_xy - q.sum_x * q.sum_y) / std::sqrt(spread_x * spread_y);
    d.kind = Discrimination::Kind::value;
    d.value = std::clamp(r, -1.0, 1.0);
    // Fisher's z: atanh(r) is nearly normal with a spread of 1 / sqrt(n - 3).
    const double z = std::atanh(std::clamp(d.value, -0.999999, 0.999999));
    const double half = 1.959964 / std::sqrt(n - 3);
    d.low = std::tanh(z - half);
    d.high = std::tanh(z + half);
    return d;
}

Reliability reliability(const std::vector<SameLengthExams>& lengths) {
    Reliability result;
    const SameLengthExams* most = nullptr;
    for (const SameLengthExams& group : lengths)
        if (group.questions >= 2 && (!most || group.exams > most->exams)) most = &group;
    if (!most) return result;
    result.questions = most->questions;
    result.exams = most->exams;
    if (most->exams < reliability_minimum) return result;
    const double n = static_cast<double>(most->exams);
    const double k = static_cast<double>(most->questions);
    const double mean = most->sum / n;
    const double variance = most->sum_squares / n - mean * mean;
    result.kind = Reliability::Kind::undefined;
    if (variance <= 1e-9) return result;
    double item_variances = 0;
    for (const std::uint64_t right : most->right_at) {
        const double p = static_cast<double>(right) / n;
        item_variances += p * (1 - p);
    }
    result.kind = Reliability::Kind::value;
    result.kr20 = k / (k - 1) * (1 - item_variances / variance);
    result.measurement_error = std::sqrt(variance * std::max(0.0, 1 - result.kr20)) / k * 100;
    return result;
}

std::string folded(std::string_view stored) { return lower_1252(tidy_blanks(stored)); }

std::string given_answer(const QuestionRecord& entry) {
    std::string joined;
    for (const std::string& given : entry.given) {
        if (is_blank_text(given)) continue;
        const std::string plain = tidy_blanks(rich_to_plain(given));
        if (plain.empty()) continue;
        if (!joined.empty()) joined += " + ";
        joined += plain;
    }
    return joined;
}

QuizStats& ClassReport::quiz_of(const std::string& stored_name) {
    key_ = tidy_blanks(stored_name);
    const auto found = quiz_index_.find(key_);
    if (found != quiz_index_.end()) return quizzes_[found->second];
    quiz_index_.emplace(key_, quizzes_.size());
    QuizStats& quiz = quizzes_.emplace_back(limits_.exams_per_quiz);
    quiz.name = cp1252_to_utf8(key_);
    return quiz;
}

QuestionStats& ClassReport::question_of(QuizStats& quiz, const QuestionRecord& entry) {
    // Most entries repeat a stored text already met: found without
    // converting any rich text.
    key_.assign(entry.theme_name).append(1, '\0').append(entry.question);
    if (const auto found = quiz.stored_index.find(key_); found != quiz.stored_index.end())
        return quiz.questions[found->second];

    const std::string theme = plain_utf8(entry.theme_name);
    const std::string question = plain_utf8(entry.question);
    const std::string plain_key = theme + '\x1F' + question;
    std::size_t index;
    if (const auto found = quiz.question_index.find(plain_key); found != quiz.question_index.end()) {
        index = found->second;
    } else {
        index = quiz.questions.size();
        quiz.question_index.emplace(plain_key, index);
        QuestionStats& added = quiz.questions.emplace_back();
        added.theme = theme;
        added.question = question;
    }
    if (quiz.stored_index.size() >= stored_index_limit) quiz.stored_index.clear();
    quiz.stored_index.emplace(key_, index);
    return quiz.questions[index];
}

void ClassReport::add(const ExamRecord& record) {
    ExamRow row = exam_row(record, sequence_++);
    if (row.date_key) {
        if (!first_date_ || row.date_key < first_date_) first_date_ = row.date_key;
        if (row.date_key > last_date_) last_date_ = row.date_key;
    }

    QuizStats& quiz = quiz_of(record.quiz_name);
    ++quiz.exams;
    quiz.entries += record.entries.size();
    quiz.scores.add(record.score);
    quiz.type_mask |= type_bit(record.type_code);
    if (row.date_key) {
        if (!quiz.first_date || row.date_key < quiz.first_date) quiz.first_date = row.date_key;
        if (row.date_key > quiz.last_date) quiz.last_date = row.date_key;
    }

    const std::string student_key = folded(record.student_name);
    quiz.students.insert(student_key);
    auto [where, added] = student_index_.try_emplace(student_key, students_.size());
    if (added) students_.emplace_back(limits_.exams_per_student).name = row.student;
    StudentStats& student = students_[where->second];
    ++student.exams;
    student.percent_sum += std::clamp(record.score, 0, 100);
    if (row.date_key && (!student.first_date || row.date_key < student.first_date)) student.first_date = row.date_key;
    if (student.exams == 1 || row.date_key > student.last_date ||
        (row.date_key == student.last_date && row.sequence > student.last_sequence)) {
        student.last_date = row.date_key;
        student.last_sequence = row.sequence;
        student.last_date_text = row.date;
        student.last_score = row.score;
    }

    auto length = std::find_if(quiz.lengths.begin(), quiz.lengths.end(), [&](const SameLengthExams& group) {
        return group.questions == record.entries.size();
    });
    if (length == quiz.lengths.end()) {
        length = quiz.lengths.insert(quiz.lengths.end(), SameLengthExams{});
        length->questions = static_cast<std::uint32_t>(record.entries.size());
        length->right_at.resize(record.entries.size());
    }
    ++length->exams;
    length->sum += row.right;
    length->sum_squares += static_cast<double>(row.right) * row.right;
    for (std::size_t place = 0; place < record.entries.size(); ++place)
        length->right_at[place] += record.entries[place].right != 0;

    const double others = static_cast<double>(record.entries.size()) - 1;
    for (const QuestionRecord& entry : record.entries) {
        QuestionStats& question = question_of(quiz, entry);
        const double x = entry.right != 0 ? 1 : 0;
        ++question.asked;
        question.right += entry.right != 0;
        question.type_mask |= type_bit(record.type_code);
        if (others > 0) {
            const double y = (static_cast<double>(row.right) - x) / others;
            ++question.paired;
            question.sum_x += x;
            question.sum_y += y;
            question.sum_xy += x * y;
            question.sum_yy += y * y;
        }
        if (entry.right == 0) {
            const std::string given = given_answer(entry);
            question.wrong_answers.add(lower_1252(given), cp1252_to_utf8(given));
        }
    }

    quiz.recent.add(row.date_key, row.sequence, row);
    student.recent.add(row.date_key, row.sequence, std::move(row));
}

std::vector<const QuizStats*> ClassReport::quizzes() const {
    std::vector<const QuizStats*> sorted;
    for (const QuizStats& quiz : quizzes_) sorted.push_back(&quiz);
    std::stable_sort(sorted.begin(), sorted.end(), [](const QuizStats* a, const QuizStats* b) { return a->name < b->name; });
    return sorted;
}

std::vector<const StudentStats*> ClassReport::students() const {
    std::vector<std::pair<std::string, const StudentStats*>> keyed;
    for (const auto& [key, index] : student_index_) keyed.emplace_back(key, &students_[index]);
    std::sort(keyed.begin(), keyed.end());
    std::vector<const StudentStats*> sorted;
    for (const auto& [key, student] : keyed) sorted.push_back(student);
    return sorted;
}

std::vector<const QuizStats*> ClassReport::listed_quizzes(std::size_t limit) const {
    auto listed = quizzes();
    if (!limit || listed.size() <= limit) return listed;
    std::stable_sort(listed.begin(), listed.end(), [](const QuizStats* a, const QuizStats* b) { return a->exams > b->exams; });
    listed.resize(limit);
    std::stable_sort(listed.begin(), listed.end(), [](const QuizStats* a, const QuizStats* b) { return a->name < b->name; });
    return listed;
}

std::vector<const StudentStats*> ClassReport::listed_students(std::size_t limit) const {
    auto listed = students();
    if (!limit || listed.size() <= limit) return listed;
    std::vector<std::pair<const StudentStats*, std::size_t>> ranked;  // with their place by name
    for (std::size_t i = 0; i < listed.size(); ++i) ranked.emplace_back(listed[i], i);
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        if (a.first->last_date != b.first->last_date) return a.first->last_date > b.first->last_date;
        return a.first->last_sequence > b.first->last_sequence;
    });
    ranked.resize(limit);
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    listed.clear();
    for (const auto& [student, place] : ranked) listed.push_back(student);
    return listed;
}

std::vector<const QuestionStats*> listed_questions(const QuizStats& quiz, std::size_t limit) {
    std::vector<const QuestionStats*> listed;
    for (const QuestionStats& q : quiz.questions) listed.push_back(&q);
    if (!limit || listed.size() <= limit) return listed;
    std::stable_sort(listed.begin(), listed.end(), [](const QuestionStats* a, const QuestionStats* b) { return a->asked > b->asked; });
    listed.resize(limit);
    std::sort(listed.begin(), listed.end());  // the questions lie in the order first asked
    return listed;
}

}  // namespace kz::report

#include "results/exam_record.h"

#include "common/text_helpers.h"
#include "exam/platform.h"

namespace kz {

void ExamRecord::begin(std::string start_time) {
    entries.clear();
    open_entry = QuestionRecord{};
    open_entry.start_time = std::move(start_time);
    blank_answers();
    score = 0;
    end_time.clear();
}

void ExamRecord::blank_answers() {
    open_entry.expected.fill(" ");
    open_entry.given.fill(" ");
}

void ExamRecord::close_question_entry(const std::string& time, std::string theme_name,
                                      std::string prompt, std::string question) {
    open_entry.end_time = time;
    open_entry.theme_name = std::move(theme_name);
    open_entry.prompt = std::move(prompt);
    open_entry.question = std::move(question);
    if (entries.size() < max_record_entries) entries.push_back(std::move(open_entry));
    open_entry = QuestionRecord{};
    open_entry.start_time = time;
    blank_answers();
}

std::string clock_time_text(const LocalTime& time) {
    return zero_pad(time.hour, 2) + ":" + zero_pad(time.minute, 2) + ":" + zero_pad(time.second, 2);
}

std::string date_time_text(const LocalTime& time) {
    return zero_pad(time.day, 2) + "/" + zero_pad(time.month, 2) + "/" + zero_pad(time.year, 4) + " " +
           zero_pad(time.hour, 2) + ":" + zero_pad(time.minute, 2);
}

}  // namespace kz

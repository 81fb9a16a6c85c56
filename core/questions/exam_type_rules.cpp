#include "questions/exam_type_rules.h"

#include "questions/open_answer.h"

namespace kz {

const std::string& question_side(const QuizModel& model, const ExamSettings& settings, QuestionRef ref) {
    const QuestionEntry& entry = model.themes[ref.theme].questions[ref.question];
    return settings.reverse_direction ? entry.answer : entry.question;
}

const std::string& answer_side(const QuizModel& model, const ExamSettings& settings, QuestionRef ref) {
    const QuestionEntry& entry = model.themes[ref.theme].questions[ref.question];
    return settings.reverse_direction ? entry.question : entry.answer;
}

const std::string& prompt_of(const QuizModel& model, const ExamSettings& settings, std::uint32_t theme) {
    const Theme& t = model.themes[theme];
    return settings.reverse_direction ? t.reverse_prompt : t.prompt;
}

const std::string& plain_question_side(const PlainTexts& plain, const ExamSettings& settings, QuestionRef ref) {
    return plain.of(ref.theme, ref.question,
                    settings.reverse_direction ? QuestionText::answer : QuestionText::question);
}

const std::string& plain_answer_side(const PlainTexts& plain, const ExamSettings& settings, QuestionRef ref) {
    return plain.of(ref.theme, ref.question,
                    settings.reverse_direction ? QuestionText::question : QuestionText::answer);
}

std::unique_ptr<ExamTypeRules> make_exam_type_rules(ExamType type) {
    switch (type) {
    case ExamType::open_answer: return std::make_unique<OpenAnswer>();
    default: return nullptr;
    }
}

}  // namespace kz

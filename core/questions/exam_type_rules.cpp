#include "questions/exam_type_rules.h"

#include <algorithm>

#include "questions/hangman.h"
#include "questions/multiple_choice.h"
#include "questions/open_answer.h"
#include "questions/pot_pourri.h"
#include "questions/scrambled_letters.h"
#include "questions/true_false.h"
#include "quiz/media_table.h"

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

std::optional<QuestionRef> draw_other_answer(ExamContext& exam, const std::function<bool(QuestionRef)>& accept) {
    const std::vector<QuestionRef>& all = exam.state().pool.all;
    if (all.empty()) return std::nullopt;
    const auto total = static_cast<std::uint32_t>(all.size());
    for (int draws = 0; draws < other_answer_draw_limit; ++draws) {
        const QuestionRef ref = all[exam.random().below(total)];
        if (accept(ref)) return ref;
    }
    return std::nullopt;
}

bool build_word_game_pool(ExamContext& exam) {
    build_open_pool(exam);
    // In the normal direction the open pool has already left out media
    // answers; in the reversed direction the expected side is the question
    // text, which may name a picture or a sound.
    QuestionPool& pool = exam.state().pool;
    const auto media_answer = [&](QuestionRef ref) {
        return is_media_reference(plain_answer_side(exam.plain(), exam.settings(), ref));
    };
    std::erase_if(pool.remaining, media_answer);
    std::erase_if(pool.all, media_answer);
    return pool.size() >= 1;
}

std::unique_ptr<ExamTypeRules> make_exam_type_rules(ExamType type) {
    switch (type) {
    case ExamType::open_answer: return std::make_unique<OpenAnswer>();
    case ExamType::multiple_choice: return std::make_unique<MultipleChoice>();
    case ExamType::true_false: return std::make_unique<TrueFalse>();
    case ExamType::pot_pourri: return std::make_unique<PotPourri>();
    case ExamType::hangman: return std::make_unique<Hangman>();
    case ExamType::scrambled_letters: return std::make_unique<ScrambledLetters>();
    }
    return nullptr;
}

}  // namespace kz

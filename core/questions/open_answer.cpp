#include "questions/open_answer.h"

#include "quiz/media_table.h"
#include "res/string_table.h"

namespace kz {

namespace {
constexpr int question_image_box = 90;
}  // namespace

bool build_open_pool(ExamContext& exam) {
    const QuizModel& model = exam.model();
    QuestionPool& pool = exam.state().pool;
    pool.clear();
    for (std::size_t t = 0; t < model.themes.size(); ++t) {
        if (!exam.theme_taken(t)) continue;
        const auto& questions = model.themes[t].questions;
        for (std::size_t q = 0; q < questions.size(); ++q) {
            // The answer text is tested as stored whatever the direction: in
            // the reversed direction a media question stays in the pool.
            if (is_media_reference(questions[q].answer)) continue;
            if (exam.plain().is_empty(t, q, QuestionText::answer)) continue;
            if (exam.plain().is_empty(t, q, QuestionText::question)) continue;
            pool.add({static_cast<std::uint32_t>(t), static_cast<std::uint32_t>(q)});
        }
    }
    return pool.size() >= 1;
}

void prepare_open_question(ExamContext& exam) {
    const auto ref = exam.draw_question();
    if (!ref) return;
    exam.show_text_or_media(Place::question, question_side(exam.model(), exam.settings(), *ref),
                            question_image_box, true);
    exam.view().show_prompt(prompt_of(exam.model(), exam.settings(), ref->theme));
    exam.view().set_palette_target(PaletteTarget::answer_field);
    exam.view().focus(Focus::answer_field);
}

bool OpenAnswer::prepare(ExamContext& exam) {
    if (exam.state().pool.remaining.empty()) return false;
    prepare_open_question(exam);
    return true;
}

Verdict OpenAnswer::grade(ExamContext& exam) {
    const QuestionRef ref = exam.state().current;
    std::string typed = exam.view().typed_answer();
    if (typed.size() > typed_answer_limit) typed.resize(typed_answer_limit);
    const std::string& expected = plain_answer_side(exam.plain(), exam.settings(), ref);

    // The matcher normalises its arguments in place; the record keeps the
    // texts as they were.
    std::string typed_work = typed;
    std::string expected_work = expected;
    Verdict verdict;
    verdict.right = match_answer(typed_work, expected_work, exam.match_options());
    if (!verdict.right) {
        verdict.correction_message = str::answer_was;
        verdict.correction_answers[0] = answer_side(exam.model(), exam.settings(), ref);
    }

    QuestionRecord& entry = exam.record_entry();
    entry.expected[0] = exam.display_label(expected);
    entry.given[0] = exam.display_label(typed);
    return verdict;
}

}  // namespace kz

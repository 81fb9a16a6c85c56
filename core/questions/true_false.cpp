#include "questions/true_false.h"

#include "common/text_helpers.h"
#include "res/string_table.h"

namespace kz {

namespace {

constexpr int statement_image_box = 80;
constexpr std::size_t minimum_statement_theme = 2;
constexpr std::size_t minimum_truefalse_pool = 2;

// "C'est vrai" or "C'est faux", as the record and the correction word them.
int words_of(TrueFalseChoice choice) {
    return choice == TrueFalseChoice::says_false ? str::says_false : str::says_true;
}

}  // namespace

bool build_truefalse_pool(ExamContext& exam) {
    const QuizModel& model = exam.model();
    QuestionPool& pool = exam.state().pool;
    pool.clear();
    for (std::size_t t = 0; t < model.themes.size(); ++t) {
        if (!exam.theme_taken(t)) continue;
        const std::size_t count = model.themes[t].questions.size();
        if (count < minimum_statement_theme) continue;
        for (std::size_t q = 0; q < count; ++q) {
            if (exam.plain().is_empty(t, q, QuestionText::answer)) continue;
            if (exam.plain().is_empty(t, q, QuestionText::question)) continue;
            pool.add({static_cast<std::uint32_t>(t), static_cast<std::uint32_t>(q)});
        }
    }
    return pool.size() >= minimum_truefalse_pool;
}

std::optional<QuestionRef> prepare_truefalse_question(ExamContext& exam) {
    exam.view().clear_answer();  // neither "C'est vrai" nor "C'est faux"
    const auto current = exam.draw_question();
    if (!current) return std::nullopt;

    const QuizModel& model = exam.model();
    const ExamSettings& settings = exam.settings();
    const PlainTexts& plain = exam.plain();
    ExamState& state = exam.state();

    state.statement_false = static_cast<int>(exam.random().below(2));
    QuestionRef shown = *current;
    if (state.statement_false == 1) {
        // A foreign answer must read differently; case aside, every other
        // difference counts (an accent, a full stop), since the statement is
        // judged by the student, not by the matcher.
        const std::string right_key = upper_1252(plain_answer_side(plain, settings, *current));
        const auto other = draw_other_answer(exam, [&](QuestionRef ref) {
            return ref.theme == current->theme && upper_1252(plain_answer_side(plain, settings, ref)) != right_key;
        });
        if (!other) return std::nullopt;
        shown = *other;
    }

    // The question's sound plays at once; the statement's waits for its button.
    exam.show_text_or_media(Place::question, question_side(model, settings, *current), statement_image_box, true);
    exam.show_text_or_media(Place::statement, answer_side(model, settings, shown), statement_image_box, false);
    exam.view().show_prompt(prompt_of(model, settings, current->theme));
    return shown;
}

Verdict TrueFalse::grade(ExamContext& exam) {
    const ExamState& state = exam.state();
    // Asked only when the student pressed "Suivant >": a time-out counts as
    // unanswered, whatever was chosen by then.
    std::optional<TrueFalseChoice> choice;
    if (!state.time_up) choice = exam.view().true_false_choice();
    const TrueFalseChoice truth =
        state.statement_false == 1 ? TrueFalseChoice::says_false : TrueFalseChoice::says_true;
    // No choice never equals the statement's truth: an unanswered question is
    // wrong.
    Verdict verdict;
    verdict.right = choice.has_value() && *choice == truth;
    if (!verdict.right)
        verdict.correction_message = truth == TrueFalseChoice::says_false ? str::should_say_false : str::should_say_true;

    QuestionRecord& entry = exam.record_entry();
    entry.expected[0] = load_message(words_of(truth));
    // Without a choice the given answer keeps its blank: the record claims no
    // answer the student did not give.
    if (choice) entry.given[0] = load_message(words_of(*choice));
    return verdict;
}

}  // namespace kz

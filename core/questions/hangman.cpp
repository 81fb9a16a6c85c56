#include "questions/hangman.h"

#include "res/string_table.h"

namespace kz {

namespace {

constexpr int question_image_box = 90;

void show_tries_left(ExamView& view, unsigned tries_left) {
    view.show_tries_left(static_cast<int>(tries_left), tries_left_text(tries_left));
}

// The letter box is emptied after every test, ready for the next letter.
void ready_for_next_letter(ExamView& view) {
    view.clear_answer();
    view.focus(Focus::letter_box);
}

}  // namespace

std::optional<HangmanState> prepare_hangman(ExamContext& exam) {
    const auto ref = exam.draw_question();
    if (!ref) return std::nullopt;
    const QuizModel& model = exam.model();
    const ExamSettings& settings = exam.settings();
    exam.show_text_or_media(Place::question, question_side(model, settings, *ref), question_image_box, true);

    HangmanState game = start_hangman(plain_answer_side(exam.plain(), settings, *ref));
    ExamView& view = exam.view();
    view.show_prompt(prompt_of(model, settings, ref->theme));
    view.show_masked_answer(game.masked);
    show_tries_left(view, game.tries_left);
    view.set_palette_target(PaletteTarget::letter_box);
    view.focus(Focus::letter_box);
    return game;
}

bool Hangman::prepare(ExamContext& exam) {
    auto game = prepare_hangman(exam);
    if (!game) return false;
    game_ = std::move(*game);
    return true;
}

void Hangman::test_letter(ExamContext& exam, std::string_view typed) {
    const std::string& expected = plain_answer_side(exam.plain(), exam.settings(), exam.state().current);
    const LetterResult result = uncover_letter(typed, game_, expected, exam.match_options());
    game_ = result.state;

    ExamView& view = exam.view();
    const auto tell = [&] {
        view.show_message(Message{letter_message(result), load_caption(str::exam_caption), MessageIcon::warning});
    };
    switch (result.outcome) {
    case LetterOutcome::found:
        view.show_masked_answer(game_.masked);
        ready_for_next_letter(view);
        return;
    case LetterOutcome::fully_uncovered:
        view.show_masked_answer(game_.masked);
        view.clear_answer();
        exam.press_next();
        return;
    case LetterOutcome::missed:
        show_tries_left(view, game_.tries_left);
        ready_for_next_letter(view);
        return;
    case LetterOutcome::out_of_tries: {
        show_tries_left(view, game_.tries_left);
        view.clear_answer();
        // The time limit may run out while the message is open and grade the
        // question itself; the question is then over and the next one must
        // not be graded in its place.
        const std::uint32_t asked = exam.state().asked;
        tell();
        if (exam.state().asked == asked && !exam.state().finished) exam.press_next();
        return;
    }
    case LetterOutcome::letter_missing:
    case LetterOutcome::one_letter_only:
    case LetterOutcome::already_tried:
        tell();
        ready_for_next_letter(view);
        return;
    }
}

Verdict Hangman::grade(ExamContext& exam) {
    const QuestionRef ref = exam.state().current;
    const std::string& expected = plain_answer_side(exam.plain(), exam.settings(), ref);
    // The word as uncovered is the student's answer; the tolerances may still
    // accept it with hidden characters left (an article, with punctuation
    // ignored).
    std::string given_work = game_.masked;
    std::string expected_work = expected;
    Verdict verdict;
    verdict.right = match_answer(given_work, expected_work, exam.match_options());
    if (!verdict.right) {
        verdict.correction_message = str::answer_was;
        verdict.correction_answers[0] = answer_side(exam.model(), exam.settings(), ref);
    }

    QuestionRecord& entry = exam.record_entry();
    entry.expected[0] = exam.display_label(expected);
    entry.given[0] = exam.display_label(game_.masked);
    return verdict;
}

}  // namespace kz

#pragma once
// The rules that make an exam type: which questions qualify, how a question
// is drawn and shown, and how the student's answer is graded. The exam engine
// runs the exam's flow and calls these rules; each type lives in a file of its
// own (open_answer, multiple_choice, true_false, pot_pourri, hangman,
// scrambled_letters).
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/random_source.h"
#include "exam/exam_settings.h"
#include "exam/exam_state.h"
#include "exam/exam_view.h"
#include "media/rich_text.h"
#include "questions/matcher.h"
#include "quiz/quiz_model.h"
#include "results/exam_record.h"

namespace kz {

// What the engine lends an exam type while it prepares or grades a question.
class ExamContext {
public:
    virtual ~ExamContext() = default;

    virtual const QuizModel& model() const = 0;
    virtual const ExamSettings& settings() const = 0;
    virtual ExamState& state() = 0;
    virtual const PlainTexts& plain() const = 0;  // plain text of every question text
    virtual MatchOptions match_options() const = 0;
    virtual ExamView& view() = 0;
    virtual RandomSource& random() = 0;

    // The themes the exam takes its questions from: those ticked on the home
    // page, or every theme when the quiz has no home page.
    virtual bool theme_taken(std::size_t theme) const = 0;

    // Takes the next question from the pool (the draw log's position in a
    // replay, a uniform draw in random order, else the first) and makes it the
    // current question. Nothing when the pool is empty.
    virtual std::optional<QuestionRef> draw_question() = 0;

    // Shows a quiz text at a place of the question page: the rich text, or
    // for a media reference the image fitted within the box, or the play and
    // stop buttons of a sound or music (played at once when `play_at_once`).
    virtual void show_text_or_media(Place place, std::string_view stored, int box_size,
                                    bool play_at_once) = 0;

    // The entry of the results record for the question being graded; its
    // answer slots hold a single blank until the type writes them.
    virtual QuestionRecord& record_entry() = 0;

    // The results label of a plain text: the text, or "<Image : label>" ...
    virtual std::string display_label(std::string_view text) const = 0;

    // Presses "Suivant >" for the student (the hangman's last letter). Ignored
    // while a question is being prepared or graded.
    virtual void press_next() = 0;
};

// The two sides of a question in the direction of the exam: the side asked
// and the side expected, as stored, with the prompt shown above it.
const std::string& question_side(const QuizModel& model, const ExamSettings& settings, QuestionRef ref);
const std::string& answer_side(const QuizModel& model, const ExamSettings& settings, QuestionRef ref);
const std::string& prompt_of(const QuizModel& model, const ExamSettings& settings, std::uint32_t theme);
const std::string& plain_question_side(const PlainTexts& plain, const ExamSettings& settings, QuestionRef ref);
const std::string& plain_answer_side(const PlainTexts& plain, const ExamSettings& settings, QuestionRef ref);

// Multiple choice and true/false take their wrong proposals and false
// statements from the full copy of the pool: a pair is drawn at random until
// `accept` takes one. After this many draws the search gives up, and the
// question cannot be built (a theme of one question, or whose answers are all
// alike).
inline constexpr int other_answer_draw_limit = 1000;
std::optional<QuestionRef> draw_other_answer(ExamContext& exam, const std::function<bool(QuestionRef)>& accept);

// The pool of the word games (hangman, scrambled letters): the open pool
// without the questions whose expected side, in the exam's direction, is a
// media item, since such an answer cannot be shown or typed as letters.
// False when none qualifies.
bool build_word_game_pool(ExamContext& exam);

// What grading an answer found.
struct Verdict {
    bool right = false;
    // The correction dialog's message (string number) and right answers, for
    // a wrong answer in training mode.
    int correction_message = 0;
    std::array<std::string, 3> correction_answers;
};

class ExamTypeRules {
public:
    virtual ~ExamTypeRules() = default;

    // The question page of the type.
    virtual Page page() const = 0;

    // Builds the question pool; false when too few questions qualify (the
    // engine then tells the student and the exam does not start).
    virtual bool build_pool(ExamContext& exam) = 0;

    // Draws the next question and shows it on the page. False when no
    // question can be built: the exam then ends as after its last question.
    virtual bool prepare(ExamContext& exam) = 0;

    // Reads the student's answer from the page and grades it; writes the
    // expected and given answers into the record entry.
    virtual Verdict grade(ExamContext& exam) = 0;

    // The hangman's "Tester la lettre", with the text of the letter box.
    virtual void test_letter(ExamContext&, std::string_view /*typed*/) {}
};

// The rules of an exam type; nothing for a type this build cannot run.
std::unique_ptr<ExamTypeRules> make_exam_type_rules(ExamType type);

}  // namespace kz

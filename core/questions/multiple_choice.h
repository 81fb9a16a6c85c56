#pragma once
// Multiple choice: the question with three proposals to tick. One proposal is
// the question's own answer; the two others are answers of other questions of
// the theme, or the wrong answers the author wrote for this question. Every
// proposal taken from a record whose question says the same thing is right
// too, so a question may have several right boxes.
#include <array>
#include <optional>
#include <string>

#include "questions/exam_type_rules.h"

namespace kz {

// One box of the page.
struct ChoiceBox {
    std::string shown;        // as stored: an answer side, or an author's wrong answer
    std::string shown_plain;
    // The plain question side of the record the proposal came from; empty for
    // an author's wrong answer, which answers no question of the quiz.
    std::string origin_plain;
    bool authors_wrong_answer = false;
};
using ChoiceBoxes = std::array<ChoiceBox, 3>;

// Every question of the themes taken whose question and answer have plain
// text (pictures and sounds are welcome on either side). False unless at
// least four qualify.
bool build_choice_pool(ExamContext& exam);

// Draws the next question, chooses its two wrong proposals, shuffles the
// three into the boxes and shows them with the question and the prompt.
// Nothing when the pool is empty or no acceptable wrong proposal turns up
// within the draw limit: the exam then ends.
std::optional<ChoiceBoxes> prepare_choice_question(ExamContext& exam);

class MultipleChoice final : public ExamTypeRules {
public:
    Page page() const override { return Page::multiple_choice; }
    bool build_pool(ExamContext& exam) override { return build_choice_pool(exam); }
    bool prepare(ExamContext& exam) override;
    Verdict grade(ExamContext& exam) override;

private:
    ChoiceBoxes boxes_;
};

}  // namespace kz

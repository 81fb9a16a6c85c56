#pragma once
// True/false: the question is shown with an answer, its own or, about half of
// the time, the answer of another question of the theme whose text differs;
// the student says whether the answer is right ("C'est vrai") or not ("C'est
// faux").
#include <optional>

#include "questions/exam_type_rules.h"

namespace kz {

// Every question of the themes taken whose question and answer have plain
// text and whose theme holds at least two questions (pictures and sounds are
// welcome on either side). False unless at least two qualify.
bool build_truefalse_pool(ExamContext& exam);

// Draws the next question, decides whether its statement is false
// (`statement_false` of the exam state) and shows the question with the
// answer of the record chosen for the statement, which it returns. Nothing
// when the pool is empty or no foreign answer turns up within the draw limit:
// the exam then ends.
std::optional<QuestionRef> prepare_truefalse_question(ExamContext& exam);

class TrueFalse final : public ExamTypeRules {
public:
    Page page() const override { return Page::true_false; }
    bool build_pool(ExamContext& exam) override { return build_truefalse_pool(exam); }
    bool prepare(ExamContext& exam) override { return prepare_truefalse_question(exam).has_value(); }
    Verdict grade(ExamContext& exam) override;
};

}  // namespace kz

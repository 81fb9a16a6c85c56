#pragma once
// Open answers: the student reads the question and types the answer, which
// the tolerant matcher compares with the expected answer.
#include "questions/exam_type_rules.h"

namespace kz {

// The pool of open questions, also used by pot-pourri, hangman and scrambled
// letters: every question of the themes taken whose question and answer have
// plain text and whose answer is not a media item. False when none qualifies.
bool build_open_pool(ExamContext& exam);

// Draws the next question and shows it with the theme's prompt; the answer
// field receives the special characters and the keyboard focus.
void prepare_open_question(ExamContext& exam);

class OpenAnswer final : public ExamTypeRules {
public:
    Page page() const override { return Page::open_answer; }
    bool build_pool(ExamContext& exam) override { return build_open_pool(exam); }
    bool prepare(ExamContext& exam) override;
    Verdict grade(ExamContext& exam) override;
};

}  // namespace kz

#pragma once
// Scrambled letters: the question is shown with the expected answer, the
// letters of each of its words shuffled; the student types the answer with
// the letters put back in order, graded as an open answer.
#include <optional>
#include <string>

#include "questions/exam_type_rules.h"
#include "questions/open_answer.h"

namespace kz {

// Draws the next question and shows it with its letters line; the answer
// field receives the special characters and the keyboard focus. Returns the
// letters line; nothing when the pool is empty.
std::optional<std::string> prepare_scramble(ExamContext& exam);

class ScrambledLetters final : public ExamTypeRules {
public:
    Page page() const override { return Page::scrambled_letters; }
    bool build_pool(ExamContext& exam) override { return build_word_game_pool(exam); }
    bool prepare(ExamContext& exam) override { return prepare_scramble(exam).has_value(); }
    // The letters line plays no part: the typed answer is compared with the
    // expected answer exactly as an open answer is.
    Verdict grade(ExamContext& exam) override { return typed_answer_.grade(exam); }

private:
    OpenAnswer typed_answer_;
};

}  // namespace kz

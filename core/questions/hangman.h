#pragma once
// Hangman: the expected answer is shown with its letters hidden, and the
// student uncovers it letter by letter, with five tries for letters that do
// not occur. The word as uncovered is graded when the whole answer is shown,
// when the tries run out, or when the student presses "Suivant >".
#include <optional>
#include <string_view>

#include "questions/exam_type_rules.h"
#include "questions/hangman_logic.h"

namespace kz {

// Draws the next question and shows it with the masked answer and all
// tries; the letter box receives the special characters (each one is tested
// as it is inserted) and the keyboard focus. Nothing when the pool is empty.
std::optional<HangmanState> prepare_hangman(ExamContext& exam);

class Hangman final : public ExamTypeRules {
public:
    Page page() const override { return Page::hangman; }
    bool build_pool(ExamContext& exam) override { return build_word_game_pool(exam); }
    bool prepare(ExamContext& exam) override;
    Verdict grade(ExamContext& exam) override;
    // "Tester la lettre": uncovers the letter or costs a try; a refused
    // letter is explained in a message box. The last letter found, or the
    // last try lost, presses "Suivant >" for the student.
    void test_letter(ExamContext& exam, std::string_view typed) override;

private:
    HangmanState game_;
};

}  // namespace kz

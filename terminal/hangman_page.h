#pragma once
// The hangman page: the answer with its hidden letters as "#", the tries
// left; each answer is one letter to test ("Tester la lettre"). The question
// ends when the word is uncovered, when the tries are used up, or with
// ":suivant", which grades the word as it stands.
#include "question_page.h"

namespace kz::term {

class HangmanPage final : public QuestionPage {
public:
    using QuestionPage::QuestionPage;
    void show_change() override;

private:
    void show_answer_area() override;
    std::string answer_label() override;
    void answer(const std::string& answer) override;
    void show_word();
};

}  // namespace kz::term

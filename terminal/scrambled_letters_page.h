#pragma once
// The scrambled-letters page: the answer's words with their letters mixed
// ("Réponse proposée :"); the student types the answer put back in order.
#include "question_page.h"

namespace kz::term {

class ScrambledLettersPage final : public QuestionPage {
public:
    using QuestionPage::QuestionPage;

private:
    void show_answer_area() override;
    void answer(const std::string& answer) override;
};

}  // namespace kz::term

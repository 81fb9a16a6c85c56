#pragma once
// The true/false page: a statement ("La réponse est :") that the student
// judges with "C'est vrai" (1) or "C'est faux" (2); nothing leaves no choice.
#include "question_page.h"

namespace kz::term {

class TrueFalsePage final : public QuestionPage {
public:
    using QuestionPage::QuestionPage;

private:
    void show_answer_area() override;
    void answer(const std::string& answer) override;
};

}  // namespace kz::term

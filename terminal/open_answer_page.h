#pragma once
// The open-answer page: the student types the answer.
#include "question_page.h"

namespace kz::term {

class OpenAnswerPage final : public QuestionPage {
public:
    using QuestionPage::QuestionPage;

private:
    void show_answer_area() override {}
    void answer(const std::string& answer) override;
};

}  // namespace kz::term

#pragma once
// The multiple-choice page: three proposals, numbered; the student ticks
// every right one by typing their numbers ("1 3"), or nothing.
#include "question_page.h"

namespace kz::term {

class MultipleChoicePage final : public QuestionPage {
public:
    using QuestionPage::QuestionPage;

private:
    void show_answer_area() override;
    void answer(const std::string& answer) override;
};

}  // namespace kz::term

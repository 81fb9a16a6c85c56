#pragma once
// The pot-pourri page: the answers of the theme, numbered in the list's
// order; the student types the number of the chosen one, or nothing.
#include <vector>

#include "question_page.h"

namespace kz::term {

class PotPourriPage final : public QuestionPage {
public:
    using QuestionPage::QuestionPage;

private:
    void show_answer_area() override;
    void answer(const std::string& answer) override;
    // The entries of the list as shown, in the list's order.
    std::vector<ShownText> shown_entries() const;
};

}  // namespace kz::term

#pragma once
// The home page: the student's name, then, after "Plus d'options", each
// option the quiz lets the student change, in the order of the window (themes,
// exam type, time limit, number of questions, order, direction, training
// mode), each shown with its value; an empty answer keeps the value. After the
// last one the page presses "Suivant >". When the exam refuses to start (an
// anonymous name, too few questions) the page is shown again as it was left.
#include <vector>

#include "terminal_page.h"

namespace kz::term {

class HomePage final : public TerminalPage {
public:
    using TerminalPage::TerminalPage;
    void start() override;
    void show() override;
    std::string prompt_label() override;
    void take(const std::string& answer) override;
    // "Suivant >" with the values as they stand.
    void press_next() override;

private:
    enum class Field {
        name,
        more_options,
        themes,
        exam_type,
        time_limit_on,
        time_limit,
        question_count,
        order,
        direction,
        training_mode,
    };

    bool may_change_an_option() const;
    void go_on();  // to the next field, or Next after the last
    void show_choices_of(Field field);
    std::string value_of(Field field) const;
    std::string summary_of(Field field) const;

    std::vector<Field> fields_;
    std::size_t current_ = 0;
    bool choices_listed_ = false;
};

}  // namespace kz::term

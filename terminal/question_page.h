#pragma once
// What every question page shows: the title with the question's number, the
// time left, the theme's prompt and the question (its text, or its picture or
// sound by the display label). Each exam type adds its answer area and reads
// its answer in a page of its own.
#include <string>

#include "terminal_page.h"

namespace kz::term {

class QuestionPage : public TerminalPage {
public:
    using TerminalPage::TerminalPage;
    void show() final;
    std::string prompt_label() final;
    void take(const std::string& answer) final;

protected:
    // The type's part of the page, under the question.
    virtual void show_answer_area() = 0;
    virtual std::string answer_label();
    virtual void answer(const std::string& answer) = 0;

    // The line that shows a place of the page (text, picture or sound).
    ShownText line_of(Place place);
    // Gives the answer to the engine with "Suivant >".
    void send_next();

    const Screen& screen() const { return context_.view.screen(); }
    Console& console() { return context_.console; }

private:
    // The exam has ended and the quiz shows no end page: the last question
    // stays, and only the frame's commands are left.
    bool exam_over() const { return !screen().next_visible; }
};

// Tells where the exam's record went (or that it was not written).
void show_results_location(PlayerContext& context);

}  // namespace kz::term

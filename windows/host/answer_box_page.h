#pragma once
// A question page on which the student types the answer in a box (open
// answer, scrambled letters). The box takes no more characters than are
// graded; Enter in it is "Suivant >" and Tab the next control, so that no line
// break ever gets into the graded answer; the palette inserts into it.
#include <string>

#include "host/question_page.h"

namespace kz::win {

class AnswerBoxPage : public QuestionPage, public TypedAnswerReader {
public:
    void clear_answer() override;
    std::string typed_answer() override;
    HWND focus_control(Focus target) override;
    HWND palette_control(PaletteTarget target) override;

protected:
    // `answer_box` is the rich edit the student types in.
    AnswerBoxPage(PageShell shell, std::vector<std::pair<Place, PlaceControls>> places, int answer_box)
        : QuestionPage(shell, std::move(places)), answer_box_(answer_box) {}

    BOOL on_init_dialog() override;

private:
    HWND answer_box() const { return GetDlgItem(window(), answer_box_); }

    int answer_box_;
};

}  // namespace kz::win

#include "questions/scrambled_letters.h"

#include "questions/scramble.h"

namespace kz {

namespace {
constexpr int question_image_box = 90;
}  // namespace

std::optional<std::string> prepare_scramble(ExamContext& exam) {
    const auto ref = exam.draw_question();
    if (!ref) return std::nullopt;
    const QuizModel& model = exam.model();
    const ExamSettings& settings = exam.settings();
    exam.show_text_or_media(Place::question, question_side(model, settings, *ref), question_image_box, true);

    // The whole line is shown, however long: a line cut short would hide
    // letters the student needs.
    std::string letters = letters_line(plain_answer_side(exam.plain(), settings, *ref), exam.random());
    ExamView& view = exam.view();
    view.show_prompt(prompt_of(model, settings, ref->theme));
    view.show_letters_line(letters);
    view.set_palette_target(PaletteTarget::answer_field);
    view.focus(Focus::answer_field);
    return letters;
}

}  // namespace kz

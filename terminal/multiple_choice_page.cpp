#include "multiple_choice_page.h"

#include "terminal_text.h"

namespace kz::term {

namespace {
constexpr Place boxes[] = {Place::box_1, Place::box_2, Place::box_3};
}

void MultipleChoicePage::show_answer_area() {
    console().line(cp(u8"Votre réponse :"));
    for (int k = 0; k < 3; ++k)
        console().line(ShownText("  " + std::to_string(k + 1) + ". [ ] ") + indented(line_of(boxes[k]), "         "));
    console().line(cp(u8"(Tapez les numéros des réponses à cocher, par exemple « 1 3 », "
                      u8"ou rien pour n'en cocher aucune.)"));
}

void MultipleChoicePage::answer(const std::string& answer) {
    const auto numbers = parse_number_list(answer, 3);
    if (!numbers) {
        console().line(cp(u8"Tapez les numéros des réponses à cocher (1, 2 ou 3), séparés par des espaces."));
        return;
    }
    std::array<bool, 3> ticks{};
    for (int n : *numbers) ticks[static_cast<std::size_t>(n - 1)] = true;
    context_.view.give_ticks(ticks);
    send_next();
}

}  // namespace kz::term

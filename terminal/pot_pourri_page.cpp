#include "pot_pourri_page.h"

#include "terminal_text.h"

namespace kz::term {

void PotPourriPage::show_answer_area() {
    console().line(cp(u8"Votre réponse :"));
    const auto& entries = screen().candidates;
    for (std::size_t k = 0; k < entries.size(); ++k)
        console().line("  " + std::to_string(k + 1) + ". " + entries[k]);
    console().line(cp(u8"(Tapez le numéro de votre réponse.)"));
}

void PotPourriPage::answer(const std::string& answer) {
    const auto& entries = screen().candidates;
    std::optional<std::string> selection;
    if (!trimmed(answer).empty()) {
        const auto number = parse_choice_number(answer, static_cast<int>(entries.size()));
        if (!number) {
            console().line(cp(u8"Tapez un numéro de la liste, de 1 à ") + std::to_string(entries.size()) +
                           cp(u8", ou rien pour ne pas choisir."));
            return;
        }
        selection = entries[static_cast<std::size_t>(*number - 1)];
    }
    context_.view.give_selection(std::move(selection));
    send_next();
}

}  // namespace kz::term

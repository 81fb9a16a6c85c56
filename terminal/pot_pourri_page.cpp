#include "pot_pourri_page.h"

#include "questions/pot_pourri.h"
#include "terminal_text.h"

namespace kz::term {

// Each entry shown as the answer it comes from is, with the characters that
// Windows-1252 lacks; the plain entry is what the engine gets back and grades.
std::vector<ShownText> PotPourriPage::shown_entries() const {
    const auto& entries = screen().candidates;
    const std::vector<const std::string*> sources = candidate_sources(
        context_.model, context_.engine.exam_settings(), context_.engine.exam_state().current, entries);
    std::vector<ShownText> shown;
    shown.reserve(entries.size());
    for (std::size_t k = 0; k < entries.size(); ++k)
        shown.push_back(sources[k] ? shown_of(*sources[k]) : ShownText(entries[k]));
    return shown;
}

void PotPourriPage::show_answer_area() {
    console().line(cp(u8"Votre réponse :"));
    const std::vector<ShownText> entries = shown_entries();
    for (std::size_t k = 0; k < entries.size(); ++k)
        console().line(ShownText("  " + std::to_string(k + 1) + ". ") + entries[k]);
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

#include "end_page.h"

#include "question_page.h"
#include "terminal_text.h"

namespace kz::term {

std::vector<ExamEndPage::Way> ExamEndPage::ways() const {
    const kz::EndPage& page = context_.view.screen().end;
    std::vector<Way> offered;
    if (page.details_button) offered.push_back(Way::details);
    if (page.home_button) offered.push_back(Way::home);
    if (page.restart_button) offered.push_back(Way::restart);
    offered.push_back(Way::quit);
    return offered;
}

std::string ExamEndPage::text_of(Way way) {
    switch (way) {
    case Way::details: return cp(u8"Détails des résultats");
    case Way::home: return cp(u8"Page d'accueil");
    case Way::restart: return cp(u8"Recommencer");
    case Way::quit: return cp(u8"Quitter");
    }
    return {};
}

void ExamEndPage::show() {
    Console& console = context_.console;
    show_page_header(console, cp(u8"Fin de l'examen"));
    console.line(shown_of(context_.view.screen().end.text));
    console.line();
    show_results_location(context_);
    console.line(cp(u8"Que voulez-vous faire ?"));
    const auto offered = ways();
    for (std::size_t k = 0; k < offered.size(); ++k)
        console.line("  " + std::to_string(k + 1) + ". " + text_of(offered[k]));
}

std::string ExamEndPage::prompt_label() { return cp(u8"Votre choix"); }

void ExamEndPage::take(const std::string& answer) {
    const auto offered = ways();
    std::optional<Way> chosen;
    if (const auto number = parse_choice_number(answer, static_cast<int>(offered.size()))) {
        chosen = offered[static_cast<std::size_t>(*number - 1)];
    } else {
        // The words of the buttons are understood too.
        const std::string word = folded(trimmed(answer));
        for (Way way : offered) {
            const std::string name = folded(text_of(way));
            const bool short_word = (way == Way::details && word == "details") ||
                                    (way == Way::home && word == "accueil");
            if (word == name || short_word) chosen = way;
        }
    }
    if (!chosen) {
        context_.console.line(cp(u8"Tapez le numéro de votre choix, de 1 à ") + std::to_string(offered.size()) + ".");
        return;
    }
    switch (*chosen) {
    case Way::details: context_.engine.show_results_details(); break;
    case Way::home: context_.engine.go_home(); break;
    case Way::restart: context_.engine.restart(); break;
    case Way::quit: context_.quit_requested = context_.engine.confirm_quit(); break;
    }
}

void ExamEndPage::press_next() {
    // The end page has no "Suivant >".
    context_.console.line(cp(u8"Il n'y a pas de question suivante : choisissez dans la liste."));
}

}  // namespace kz::term

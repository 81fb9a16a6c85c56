#include "question_page.h"

#include "terminal_text.h"

namespace kz::term {

void show_results_location(PlayerContext& context) {
    const auto& file = context.engine.last_results_file();
    if (!file) {
        context.console.line(cp(u8"Les résultats n'ont pas été enregistrés."));
        return;
    }
    if (context.refused_author_file) {
        context.console.line(cp(u8"Le questionnaire demande d'enregistrer les résultats dans « ") +
                             *context.refused_author_file +
                             cp(u8" », qui n'est pas un fichier de résultats : ils sont enregistrés dans votre "
                                u8"fichier de résultats."));
    }
    context.console.print(cp(u8"Résultats enregistrés dans : "));
    context.console.print_path(*file);
    context.console.line();
}

ShownText QuestionPage::line_of(Place place) {
    const auto found = screen().items.find(place);
    if (found == screen().items.end()) return {};
    const ShownItem& item = found->second;
    if (item.kind == ShownItem::Kind::text) return shown_of(item.text);
    ShownText line = context_.menu.line_for(item.text);
    if (place == Place::question && item.kind == ShownItem::Kind::media && screen().question_media_playing)
        line += ShownText(cp(u8" — lecture en cours, :stop pour l'arrêter"));
    return line;
}

void QuestionPage::show() {
    show_page_header(console(), screen().title);
    if (screen().countdown_visible) console().line(cp(u8"Temps restant : ") + screen().countdown_text);
    const ShownText prompt = shown_of(screen().prompt);
    if (!prompt.empty()) console().line(prompt);
    const ShownText question = line_of(Place::question);
    if (!question.empty()) console().line(question);
    show_answer_area();
    if (exam_over()) {
        console().line();
        console().line(cp(u8"L'examen est terminé. Tapez :quitter pour fermer le questionnaire."));
        show_results_location(context_);
    }
}

std::string QuestionPage::answer_label() { return cp(u8"Votre réponse"); }

std::string QuestionPage::prompt_label() { return exam_over() ? cp(u8"Commande") : answer_label(); }

void QuestionPage::take(const std::string& line) {
    if (exam_over()) {
        console().line(cp(u8"L'examen est terminé. Tapez :quitter pour fermer le questionnaire."));
        return;
    }
    answer(line);
}

void QuestionPage::send_next() {
    context_.engine.next();
    context_.view.forget_answer();
}

}  // namespace kz::term

#include "scrambled_letters_page.h"

#include "terminal_text.h"

namespace kz::term {

void ScrambledLettersPage::show_answer_area() {
    console().line(cp(u8"Réponse proposée :"));
    console().line("  " + screen().letters_line);
    console().line(cp(u8"Chaque mot composant la réponse est donné avec ses lettres en désordre.\nPour trouver "
                      u8"la réponse, remettez en place chaque lettre dans chaque mot et tapez la réponse dans "
                      u8"la zone appropriée."));
}

void ScrambledLettersPage::answer(const std::string& answer) {
    context_.view.give_typed_answer(answer);
    send_next();
}

}  // namespace kz::term

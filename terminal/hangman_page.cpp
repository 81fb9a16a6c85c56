#include "hangman_page.h"

#include "terminal_text.h"

namespace kz::term {

void HangmanPage::show_word() {
    console().line("  " + screen().masked_answer);
    console().line(screen().tries_text);
}

void HangmanPage::show_answer_area() {
    show_word();
    console().line(cp(u8"Pour trouver la réponse, tapez les lettres qui composent la réponse à l'aide du "
                      u8"clavier.\nSi une bonne lettre est donnée, elle se placera automatiquement à sa/ses "
                      u8"places dans la réponse."));
    console().line(cp(u8"(Une lettre par ligne ; :suivant valide le mot tel qu'il est.)"));
}

void HangmanPage::show_change() { show_word(); }

std::string HangmanPage::answer_label() { return cp(u8"Lettre que vous souhaitez essayer"); }

void HangmanPage::answer(const std::string& answer) {
    // Every line is a press of "Tester la lettre", the empty one included:
    // the game itself says what is wrong with it.
    context_.engine.test_letter(answer);
    context_.view.forget_answer();
}

}  // namespace kz::term

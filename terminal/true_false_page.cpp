#include "true_false_page.h"

#include "res/string_table.h"
#include "terminal_text.h"

namespace kz::term {

void TrueFalsePage::show_answer_area() {
    console().line(cp(u8"La réponse est :"));
    console().line(ShownText("  ") + indented(line_of(Place::statement), "  "));
    console().line(cp(u8"Qu'en pensez-vous ?"));
    console().line("  1. " + load_message(str::says_true));
    console().line("  2. " + load_message(str::says_false));
}

void TrueFalsePage::answer(const std::string& answer) {
    const std::string word = folded(trimmed(answer));
    const std::string says_true = folded(load_message(str::says_true));
    const std::string says_false = folded(load_message(str::says_false));
    if (word == "1" || word == "v" || word == "vrai" || word == says_true) {
        context_.view.give_true_false_choice(TrueFalseChoice::says_true);
    } else if (word == "2" || word == "f" || word == "faux" || word == says_false) {
        context_.view.give_true_false_choice(TrueFalseChoice::says_false);
    } else if (!word.empty()) {
        console().line(cp(u8"Tapez 1 (C'est vrai) ou 2 (C'est faux), ou rien pour ne pas choisir."));
        return;
    }
    send_next();
}

}  // namespace kz::term

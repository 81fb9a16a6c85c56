#include "welcome_page.h"

#include "terminal_text.h"

namespace kz::term {

void WelcomePage::show() {
    show_page_header(context_.console, cp(u8"Bienvenue"));
    context_.console.line(shown_of(context_.view.screen().welcome_text));
}

std::string WelcomePage::prompt_label() { return cp(u8"Entrée pour continuer"); }

void WelcomePage::take(const std::string&) { context_.engine.next(); }

}  // namespace kz::term

#include "terminal_page.h"

namespace kz::term {

void TerminalPage::press_next() {
    context_.engine.next();
    context_.view.forget_answer();
}

void show_page_header(Console& console, const std::string& text) {
    console.line();
    console.line("== " + text + " ==");
}

}  // namespace kz::term

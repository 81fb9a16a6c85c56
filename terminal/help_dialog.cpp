#include "help_dialog.h"

#include "terminal_text.h"

namespace kz::term {

void show_help_dialog(Console& console, std::string_view help_text) {
    console.line();
    console.line(cp(u8"[Aide]"));
    console.line(shown_of(help_text));
}

}  // namespace kz::term

#include "message_box.h"

#include "terminal_text.h"

namespace kz::term {

MessageAnswer show_message_box(Console& console, const Message& message) {
    console.line();
    console.line("[" + message.caption + "] " + message.text);
    if (message.buttons != MessageButtons::yes_no) return MessageAnswer::ok;
    for (;;) {
        const auto answer = console.ask(cp(u8"Oui ou non (o/n)"));
        if (!answer) return MessageAnswer::no;
        if (const auto yes = parse_yes_no(*answer)) return *yes ? MessageAnswer::yes : MessageAnswer::no;
        console.line(cp(u8"Répondez par o (oui) ou n (non)."));
    }
}

}  // namespace kz::term

#pragma once
// A message box in the terminal: its caption in brackets, then its text. A
// box with the single button OK is acknowledged at once: the terminal keeps
// it on screen above what follows, and waiting for Enter would only put an
// extra line into every file of answers. A Yes/No box waits for "o" or "n".
#include "console.h"
#include "exam/message.h"

namespace kz::term {

// The end of the input answers "No", the answer that changes nothing.
MessageAnswer show_message_box(Console& console, const Message& message);

}  // namespace kz::term

#pragma once
// The program's standard input and output as the operating system gives
// them: bytes read from a terminal, a pipe or a file, UTF-8 written to a
// terminal (as wide characters on a Windows console) or to a pipe or file.
#include <string>
#include <string_view>

namespace kz::term {

// True when standard input is a terminal (a person typing) rather than a
// pipe or a file.
bool input_is_terminal();

// The next bytes of standard input, UTF-8 (a Windows console's wide
// characters are converted); empty at the end of the input or on an error.
std::string read_input_chunk();

// Writes UTF-8 to standard output and flushes it.
void write_output(std::string_view utf8);

// Drops what the student has typed on the terminal and not yet sent, so that
// a line begun before the time ran out does not answer the next question.
// Nothing happens when the input is not a terminal.
void discard_typed_input();

}  // namespace kz::term

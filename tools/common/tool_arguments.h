#pragma once
// What the command-line tools share: their arguments as UTF-8, on every
// system, and a console that shows UTF-8.
#include <string>
#include <vector>

namespace kz::tools {

// The arguments after the program's name. On Windows they are read from the
// wide command line, so that file names outside the ANSI code page survive,
// and the console is set to show UTF-8.
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Whether standard error is a terminal (for progress bars).
bool error_stream_is_terminal();

}  // namespace kz::tools

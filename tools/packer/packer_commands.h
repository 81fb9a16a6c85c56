#pragma once
// The packer's commands: build a quiz executable from a runner and a readable
// source, dump one back into a source with its media and bare runner, check one
// the way the runner loads it, and write damaged copies for tests.
#include <iosfwd>
#include <string>
#include <vector>

namespace kz {

inline constexpr int packer_done = 0;
inline constexpr int packer_failed = 1;     // refused input, refused quiz, unwritable output
inline constexpr int packer_bad_usage = 2;  // wrong command line

// Runs one command. `args` are the arguments after the program name, in UTF-8.
// Summaries go to `out`, errors and warnings to `err`. Returns the exit code.
int run_packer(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string packer_help();

}  // namespace kz

#pragma once
// Results records as the results file holds them, for tests that compare the
// file byte for byte.
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace kz::test {

// The format line and the header of the record of an exam that a harness
// played with the quiz builder's defaults and clock, in the normal direction.
std::string format_and_header(const std::filesystem::path& runner, int type_code, int score, int last_entry);

// Each text followed by CR LF.
std::string crlf_lines(const std::vector<std::string>& lines);

// The ten answer lines of an entry: the given (expected, given) pairs, then
// single blanks up to five pairs.
std::string answer_pairs(const std::vector<std::pair<std::string, std::string>>& pairs);

}  // namespace kz::test

#pragma once
// Rich texts to check the conversions on: every document the tests know (the
// hand-written ones compared with the control, the fuzz target's corpus, the
// built-in welcome and end texts) and random documents made of the pieces
// that matter to the reading.
#include <random>
#include <string>
#include <vector>

namespace kz::test {

std::vector<std::string> known_rich_texts();

// A document of up to `pieces` random pieces: groups, paragraph and line
// marks, escapes, skipped destinations, fonts of other character sets,
// formatting, text; often nothing but marks and formatting.
std::string random_rich_text(std::mt19937& random, int pieces = 40);

}  // namespace kz::test

#pragma once
// The scrambled-letters game's letters line: every word of the answer with
// its characters shuffled, the spaces left where they stand.
#include <string>
#include <string_view>

#include "common/random_source.h"

namespace kz {

// A draw-until-free shuffle gives up on one character after this many draws
// in a row that find no free place; the word then stays as it is.
inline constexpr int scramble_draw_limit = 5000;

// The word's characters in a random order: each character in turn takes a
// random free place. Always a permutation of the word; it may equal the word.
std::string scramble_word(std::string_view word, RandomSource& random);

// The answer with each word shuffled by scramble_word. Only the space
// separates words: apostrophes, hyphens and punctuation are shuffled with the
// letters of their word, and every space stays in its place.
std::string letters_line(std::string_view answer, RandomSource& random);

}  // namespace kz

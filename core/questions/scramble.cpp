#include "questions/scramble.h"

#include <vector>

namespace kz {

std::string scramble_word(std::string_view word, RandomSource& random) {
    const std::size_t n = word.size();
    std::string shuffled(word);
    std::vector<bool> taken(n, false);
    for (const char ch : word) {
        int draws = 0;
        std::size_t place = 0;
        do {
            if (draws++ == scramble_draw_limit) return std::string(word);
            place = random.below(static_cast<std::uint32_t>(n));
        } while (place >= n || taken[place]);
        taken[place] = true;
        shuffled[place] = ch;
    }
    return shuffled;
}

std::string letters_line(std::string_view answer, RandomSource& random) {
    std::string line;
    line.reserve(answer.size());
    std::size_t start = 0;
    while (start <= answer.size()) {
        std::size_t end = answer.find(' ', start);
        if (end == std::string_view::npos) end = answer.size();
        line += scramble_word(answer.substr(start, end - start), random);
        if (end == answer.size()) break;
        line += ' ';
        start = end + 1;
    }
    return line;
}

}  // namespace kz

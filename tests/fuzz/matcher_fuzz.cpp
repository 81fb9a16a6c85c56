// The answer matcher on any two texts under any options: it never crashes,
// it is symmetric, and a second call on its own results agrees with the first.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <string>

#include "questions/matcher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const kz::MatchOptions options{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0,
                                   (data[0] & 8) != 0};
    // The rest is two texts separated by the first NUL (texts hold no NUL).
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto split = rest.find('\0');
    const std::string first = rest.substr(0, split);
    std::string second = split == std::string::npos ? std::string() : rest.substr(split + 1);
    second.erase(std::remove(second.begin(), second.end(), '\0'), second.end());

    std::string a = first, b = second;
    const bool forward = kz::match_answer(a, b, options);
    std::string c = second, d = first;
    const bool backward = kz::match_answer(c, d, options);
    if (forward != backward) __builtin_trap();
    if (kz::match_answer(a, b, options) != forward) __builtin_trap();
    std::string self = first, same = first;
    if (!kz::match_answer(self, same, options)) __builtin_trap();
    return 0;
}

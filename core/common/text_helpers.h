#pragma once
// Small text helpers shared by the pages, the exam flow and the results.
#include <string>
#include <string_view>

namespace kz {

// One zero put in front of a number text shorter than the width (never more
// than one): with width 2, "7" gives "07"; with width 4, "5" gives "05".
std::string zero_pad(std::string_view number, std::size_t width);
std::string zero_pad(long long number, std::size_t width);

// The first n characters of the text (the whole text when shorter).
std::string head_text(std::string_view text, std::size_t n);

// The n + 1 characters from the zero-based position start (fewer when the text
// ends sooner), at most 5119 characters.
std::string mid_text(std::string_view text, std::size_t start, std::size_t n);

// Windows-1252 capitals and lower case: a-z, the accented letters 0xE0-0xFE
// (not 0xF7), and the pairs Š/š, Œ/œ, Ž/ž, Ÿ/ÿ. ß and µ have no capital.
char to_upper_1252(char c);
char to_lower_1252(char c);
std::string upper_1252(std::string_view text);
std::string lower_1252(std::string_view text);

// A text as a JSON string, quotes included, for a page's data: quotes and
// backslashes escaped, control characters and the signs of markup ("<", ">",
// "&") as \u escapes, so that the JSON stays inert inside a script element.
// Other bytes pass as they are (a UTF-8 text stays UTF-8).
std::string json_quoted(std::string_view text);

}  // namespace kz

#pragma once
// Texts of the report: the results file's Windows-1252 texts as UTF-8 plain
// text, French numbers and durations, the names of the exam types, and the
// escaping that HTML and a terminal need.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kz::report {

// The plain text of a stored text (a rich text, a display label or plain
// text) in UTF-8, without blanks around it.
std::string plain_utf8(std::string_view stored);

// The same, remembered for texts that come back often (themes, prompts,
// questions). Forgets everything past a few thousand texts, so that memory
// stays bounded.
class PlainTexts {
public:
    const std::string& of(std::string_view stored);

private:
    std::unordered_map<std::string, std::string> known_;
};

// Blanks at both ends removed, and every run of blanks inside made one
// space; Windows-1252 or UTF-8 alike.
std::string tidy_blanks(std::string_view text);

// "Réponse libre", "QCM", "Vrai / Faux", "Pot-pourri", "Pendu", "Lettres
// mélangées", by the results type code; "Type 7" for a code no runner writes.
std::string exam_type_name(std::int32_t type_code);

// The exam types whose bits are set (bit n: type code n), in the order of
// the home page's list: "Réponse libre, QCM".
std::string exam_types_text(std::uint32_t type_mask);

// "05/12/2026" of a date key (yyyymmddhhmm); empty for 0.
std::string day_text(std::int64_t key);

// 13,4 and 0,42: decimals with a comma, as in French.
std::string french_decimal(double value, int decimals);

// Marks out of 20 as the runner shows them: the truncated per cent x 0.2.
int marks_of(std::int32_t percent);

// "1 min 05 s", "45 s", "1 h 02 min".
std::string duration_text(int seconds);

// "12 345": groups of three digits parted by a narrow no-break space.
std::string count_text(std::uint64_t count);

// Escaped for HTML text and attribute values. Control characters, which a
// page may not hold, become blanks.
std::string html_escaped(std::string_view utf8);

// A text safe to print on a terminal: control characters (which could move
// the cursor or change colours) become '?'.
std::string terminal_safe(std::string_view utf8);

// A date of the command line: "2026-03-02" or "02/03/2026" gives the key of
// that day at 00:00 (yyyymmdd0000).
std::optional<std::int64_t> day_key(std::string_view text);

}  // namespace kz::report

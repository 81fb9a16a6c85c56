#pragma once
// Texts at the terminal's edge. The exam's texts are Windows-1252 bytes; the
// terminal speaks UTF-8. The player's own French texts are written as UTF-8
// literals (char8_t) so that they cannot be mixed up with the exam's texts,
// and are turned into Windows-1252 before they meet them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kz::term {

// One of the player's own texts (a u8 literal) in Windows-1252. Every such
// text is written in characters that Windows-1252 holds.
std::string cp(std::u8string_view text);

// A Windows-1252 text as UTF-8 that is safe to print: paragraph and line
// marks (CR, CR LF, LF, the rich text's line mark VT) become LF, tabs stay,
// and every other control character, which could drive the terminal, is
// dropped.
std::string printable(std::string_view text);

// A text as the terminal shows it: UTF-8 made printable as printable() makes
// it. The exam's and the player's own texts (Windows-1252) and the quiz's
// texts with every character of their rich text meet in it; being a type of
// its own, it never takes Windows-1252 bytes for UTF-8 or the reverse.
class ShownText {
public:
    ShownText() = default;
    // A Windows-1252 text, made printable.
    explicit ShownText(std::string_view text) : utf8_(printable(text)) {}

    const std::string& utf8() const { return utf8_; }
    bool empty() const { return utf8_.empty(); }

    ShownText& operator+=(const ShownText& more) {
        utf8_ += more.utf8_;
        return *this;
    }
    friend ShownText operator+(ShownText text, const ShownText& more) { return text += more; }

private:
    friend ShownText shown_of(std::string_view stored);
    friend ShownText indented(const ShownText& text, std::string_view pad);
    std::string utf8_;
};

// A stored quiz text (rich text or plain text) as the page shows it, without
// the blank lines and spaces that end it: the characters of the rich text in
// Unicode, as the control holds them (Greek, Cyrillic: the characters that
// Windows-1252 lacks are not narrowed to "?"), and the characters of a font
// of the symbol character set as the signs that the Symbol font draws for
// them ("a" as "α", the byte 0xB7 as "•"), as the web page shows them. Its
// lines are those of plain_of(stored); the plain text alone is graded.
ShownText shown_of(std::string_view stored);

// UTF-8 text (a path as the system names it) safe to print: control
// characters are dropped and bytes that are not UTF-8 become "?".
std::string printable_utf8(std::string_view utf8);

// The plain text of a stored quiz text (rich text or plain text), without the
// blank lines and spaces that end it.
std::string plain_of(std::string_view stored);

// The text with `pad` put at the start of each of its lines after the first
// (line marks as printable() knows them).
std::string indented(std::string_view text, std::string_view pad);
// The same for a text as shown; `pad` is Windows-1252 blanks.
ShownText indented(const ShownText& text, std::string_view pad);

// A label of the runner's windows without its keyboard-accelerator mark:
// "&Plus d'options" gives "Plus d'options".
std::string without_accelerator(std::string_view label);

// A line typed at the terminal, UTF-8, in Windows-1252. Characters that
// Windows-1252 lacks are not replaced, since an answer changed behind the
// student's back would be graded wrongly: the line is refused and the
// characters are given back (UTF-8) to be quoted. A line that is not UTF-8 at
// all is taken as Windows-1252 bytes, as an answers file written by a Windows
// editor would be.
struct DecodedLine {
    std::optional<std::string> text;  // Windows-1252; nothing when refused
    std::string shown;                // Windows-1252, each refused character as '?'
    std::string refused;              // the characters Windows-1252 lacks, UTF-8
};
DecodedLine decode_line(std::string_view utf8);

// The line without its leading and trailing blanks (spaces and tabs).
std::string_view trimmed(std::string_view text);

// A Windows-1252 text in small letters, without accents: the form in which
// the player compares the words a student types for a choice ("Détails",
// "details", "DETAILS").
std::string folded(std::string_view text);

// "o", "oui" or "n", "non" (any case): the answer to a yes/no question.
std::optional<bool> parse_yes_no(std::string_view text);

// A whole number from 1 to `count` written alone on the line.
std::optional<int> parse_choice_number(std::string_view text, int count);

// Numbers from 1 to `count` separated by blanks, commas or semicolons
// ("1 3", "1,3"); nothing when any part is not such a number. An empty text
// gives an empty list.
std::optional<std::vector<int>> parse_number_list(std::string_view text, int count);

}  // namespace kz::term

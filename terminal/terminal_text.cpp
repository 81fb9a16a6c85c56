#include "terminal_text.h"

#include <charconv>

#include "common/cp1252.h"
#include "media/rich_text.h"
#include "media/rtf_reader.h"

namespace kz::term {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The base letter of an accented Windows-1252 letter, in small letters.
char base_letter(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    if ((c >= 0xC0 && c <= 0xC5) || (c >= 0xE0 && c <= 0xE5)) return 'a';
    if (c == 0xC7 || c == 0xE7) return 'c';
    if ((c >= 0xC8 && c <= 0xCB) || (c >= 0xE8 && c <= 0xEB)) return 'e';
    if ((c >= 0xCC && c <= 0xCF) || (c >= 0xEC && c <= 0xEF)) return 'i';
    if (c == 0xD1 || c == 0xF1) return 'n';
    if ((c >= 0xD2 && c <= 0xD6) || (c >= 0xF2 && c <= 0xF6)) return 'o';
    if ((c >= 0xD9 && c <= 0xDC) || (c >= 0xF9 && c <= 0xFC)) return 'u';
    if (c == 0xDD || c == 0xFD || c == 0xFF || c == 0x9F) return 'y';
    return static_cast<char>(c);
}

// Characters as the terminal shows them: paragraph and line marks (CR,
// CR LF, LF, VT) as LF, tabs kept, and every other control character (C0,
// DEL, C1), which could drive the terminal, dropped.
std::string printable_characters(std::u32string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\n';
        } else if (c == '\n' || c == 0x0B) {
            out += '\n';
        } else if (c == '\t') {
            out += '\t';
        } else if (c >= 0x20 && !(c >= 0x7F && c <= 0x9F)) {
            append_utf8(out, c);
        }
    }
    return out;
}

// Gathers a rich text's characters as the page shows them. The reader hands
// them over in UTF-16: a pair of surrogates is one character, a lone half
// none that can be shown (U+FFFD).
class ShownCharacters final : public rtf::TextSink {
public:
    void put(char16_t unit, const rtf::CharacterLook& look, const rtf::ParagraphLook&) override {
        if (high_surrogate_) {
            const char16_t high = *high_surrogate_;
            high_surrogate_.reset();
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                text += 0x10000 + ((char32_t{high} - 0xD800) << 10) + (unit - 0xDC00);
                return;
            }
            text += U'\uFFFD';
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            high_surrogate_ = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            text += U'\uFFFD';
        } else {
            text += rtf::shown_character(unit, look);
        }
    }

    void end(const rtf::ParagraphLook&, bool) override {
        if (high_surrogate_) text += U'\uFFFD';
        high_surrogate_.reset();
    }

    std::u32string text;

private:
    std::optional<char16_t> high_surrogate_;
};

bool ends_blank(const std::string& utf8) {
    if (utf8.empty()) return false;
    const char last = utf8.back();
    return last == '\n' || is_blank(last);
}

}  // namespace

std::string cp(std::u8string_view text) {
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size());
    return utf8_to_cp1252(bytes).value_or(std::string(bytes));
}

std::string printable(std::string_view text) {
    // The code page's five holes are C1 controls: not printed either.
    std::u32string characters;
    characters.reserve(text.size());
    for (const char c : text) characters += cp1252_to_unicode(static_cast<unsigned char>(c));
    return printable_characters(characters);
}

ShownText shown_of(std::string_view stored) {
    ShownText shown;
    if (stored.starts_with("{\\rtf")) {
        ShownCharacters characters;
        rtf::read_rich_text(stored, &characters);
        shown.utf8_ = printable_characters(characters.text);
    } else {
        shown.utf8_ = printable(stored);
    }
    while (ends_blank(shown.utf8_)) shown.utf8_.pop_back();
    return shown;
}

std::string printable_utf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = utf8_sequence(utf8, i, c);
        if (length == 0) {
            out += '?';
            ++i;
            continue;
        }
        i += length;
        if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F)) append_utf8(out, c);
    }
    return out;
}

std::string plain_of(std::string_view stored) {
    std::string plain = rich_to_plain(stored);
    while (!plain.empty() && (plain.back() == '\r' || plain.back() == '\n' || plain.back() == 0x0B ||
                              is_blank(plain.back())))
        plain.pop_back();
    return plain;
}

std::string indented(std::string_view text, std::string_view pad) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        const bool line_mark = text[i] == '\n' || text[i] == 0x0B ||
                               (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'));
        if (line_mark) out += pad;
    }
    return out;
}

ShownText indented(const ShownText& text, std::string_view pad) {
    ShownText out;
    out.utf8_ = indented(text.utf8_, printable(pad));
    return out;
}

std::string without_accelerator(std::string_view label) {
    std::string out;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&') {
            // "&&" stands for one ampersand.
            if (i + 1 < label.size() && label[i + 1] == '&') out += label[++i];
            continue;
        }
        out += label[i];
    }
    return out;
}

DecodedLine decode_line(std::string_view utf8) {
    DecodedLine decoded;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = utf8_sequence(utf8, i, c);
        if (length == 0) {
            // Not UTF-8: the line is taken as Windows-1252 as it stands.
            return DecodedLine{std::string(utf8), std::string(utf8), {}};
        }
        i += length;
        if (const auto byte = unicode_to_cp1252(c)) {
            decoded.shown += static_cast<char>(*byte);
            continue;
        }
        decoded.shown += '?';
        std::string one;
        if (c < 0xA0) {
            // A control character is named, never sent to the terminal.
            static constexpr char digits[] = "0123456789ABCDEF";
            one = "U+00";
            one += digits[(c >> 4) & 0xF];
            one += digits[c & 0xF];
        } else {
            append_utf8(one, c);
        }
        if (decoded.refused.find(one) == std::string::npos) {
            if (!decoded.refused.empty()) decoded.refused += ' ';
            decoded.refused += one;
        }
    }
    if (decoded.refused.empty()) decoded.text = decoded.shown;
    return decoded;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string folded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0x9C || u == 0x8C) {
            out += "oe";
        } else if (u == 0xE6 || u == 0xC6) {
            out += "ae";
        } else {
            out += base_letter(u);
        }
    }
    return out;
}

std::optional<bool> parse_yes_no(std::string_view text) {
    const std::string word = folded(trimmed(text));
    if (word == "o" || word == "oui") return true;
    if (word == "n" || word == "non") return false;
    return std::nullopt;
}

std::optional<int> parse_choice_number(std::string_view text, int count) {
    text = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < 1 || value > count) return std::nullopt;
    return value;
}

std::optional<std::vector<int>> parse_number_list(std::string_view text, int count) {
    std::vector<int> numbers;
    std::size_t i = 0;
    while (i < text.size()) {
        if (is_blank(text[i]) || text[i] == ',' || text[i] == ';') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !is_blank(text[end]) && text[end] != ',' && text[end] != ';') ++end;
        const auto number = parse_choice_number(text.substr(i, end - i), count);
        if (!number) return std::nullopt;
        numbers.push_back(*number);
        i = end;
    }
    return numbers;
}

}  // namespace kz::term

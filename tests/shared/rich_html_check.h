#pragma once
// A strict reader of the HTML fragments that rich_to_html writes, for the
// tests and the fuzz target: it accepts only the elements p, span and br,
// only a style attribute with the fixed properties and values that a page
// may be given, and gives back the text that the fragment shows; anything
// else is an error. And the text that a fragment must show: the plain text,
// narrowed as rich_to_plain narrows characters.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/cp1252.h"
#include "media/rich_text.h"

// The fuzz target runs these checks on every input: left out of the
// coverage that guides the fuzzer, they neither slow it much nor lead it.
#if defined(__clang__)
#define KZ_CHECK_NOT_COVERED __attribute__((no_sanitize("coverage")))
#else
#define KZ_CHECK_NOT_COVERED
#endif

namespace kz {

struct PageFragment {
    std::string error;     // empty when the fragment keeps to the rules
    std::u32string shown;  // paragraphs joined with '\r', line breaks as '\v'
    std::vector<bool> in_symbol_font;  // for each character shown: in a span of the Symbol font
};

namespace fragment_rules {

constexpr std::string_view families[] = {
    "Arial, Helvetica, sans-serif", "'Times New Roman', Times, serif", "'Courier New', Courier, monospace",
    "'Comic Sans MS', cursive",     "Impact, fantasy",                 "Symbol",
};

// "12pt", "-0.25pt": the length in hundredths of a point, or nothing.
KZ_CHECK_NOT_COVERED inline bool points(std::string_view value, std::int64_t& hundredths) {
    if (!value.ends_with("pt")) return false;
    value.remove_suffix(2);
    const bool negative = value.starts_with('-');
    if (negative) value.remove_prefix(1);
    const auto dot = value.find('.');
    const std::string_view whole = value.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view() : value.substr(dot + 1);
    if (whole.empty() || whole.size() > 6 || (dot != std::string_view::npos && (fraction.empty() || fraction.size() > 2)))
        return false;
    std::int64_t number = 0;
    for (const char c : whole) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + (c - '0');
    }
    std::int64_t hundredth = 0;
    for (std::size_t i = 0; i < 2; ++i) {
        const char c = i < fraction.size() ? fraction[i] : '0';
        if (c < '0' || c > '9') return false;
        hundredth = hundredth * 10 + (c - '0');
    }
    hundredths = (negative ? -1 : 1) * (number * 100 + hundredth);
    return true;
}

KZ_CHECK_NOT_COVERED inline bool colour(std::string_view value) {
    if (value.size() != 7 || value[0] != '#') return false;
    for (const char c : value.substr(1))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

KZ_CHECK_NOT_COVERED inline bool allowed(bool on_span, std::string_view name, std::string_view value) {
    std::int64_t length = 0;
    if (!on_span) {
        if (name == "text-align") return value == "center" || value == "right" || value == "justify";
        if (name == "margin-left" || name == "margin-right") return points(value, length) && length > 0;
        if (name == "text-indent") return points(value, length) && length != 0;
        return false;
    }
    if (name == "font-family") {
        for (const auto family : families)
            if (value == family) return true;
        return false;
    }
    if (name == "font-size") return value == "smaller" || (points(value, length) && length >= 266 && length <= 14400);
    if (name == "font-weight") return value == "bold";
    if (name == "font-style") return value == "italic";
    if (name == "text-decoration") return value == "underline" || value == "line-through" || value == "underline line-through";
    if (name == "vertical-align") return value == "super" || value == "sub";
    if (name == "color" || name == "background-color") return colour(value);
    return false;
}

// The C1 controls that HTML reads, written as references, as the
// Windows-1252 characters of the same bytes.
KZ_CHECK_NOT_COVERED inline bool read_as_another(char32_t code_point) {
    return code_point >= 0x80 && code_point <= 0x9F && code_point != 0x81 && code_point != 0x8D &&
           code_point != 0x8F && code_point != 0x90 && code_point != 0x9D;
}

class Reader {
public:
    explicit Reader(std::string_view html) : in_(html) {}

    KZ_CHECK_NOT_COVERED PageFragment read() {
        for (const char c : in_) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 0x80 || (byte < 0x20 && byte != '\t')) return failed("a byte that is not printable ASCII");
        }
        bool first = true;
        while (pos_ < in_.size()) {
            if (!first) {
                fragment_.shown += U'\r';
                fragment_.in_symbol_font.push_back(false);
            }
            first = false;
            if (!paragraph()) return fragment_;
        }
        return fragment_;
    }

private:
    KZ_CHECK_NOT_COVERED PageFragment failed(const std::string& what) {
        if (fragment_.error.empty()) fragment_.error = what + " at byte " + std::to_string(pos_);
        return fragment_;
    }
    KZ_CHECK_NOT_COVERED bool fail(const std::string& what) {
        failed(what);
        return false;
    }
    KZ_CHECK_NOT_COVERED bool take(std::string_view expected) {
        if (!in_.substr(pos_).starts_with(expected)) return false;
        pos_ += expected.size();
        return true;
    }

    KZ_CHECK_NOT_COVERED bool style(bool on_span) {
        const auto end = in_.find('"', pos_);
        if (end == std::string_view::npos) return fail("an unclosed style");
        std::string_view declarations = in_.substr(pos_, end - pos_);
        if (declarations.empty()) return fail("an empty style");
        std::array<std::string_view, 8> seen{};  // no element has more properties than this
        std::size_t seen_count = 0;
        while (!declarations.empty()) {
            const auto semicolon = declarations.find(';');
            const std::string_view declaration = declarations.substr(0, semicolon);
            declarations = semicolon == std::string_view::npos ? std::string_view() : declarations.substr(semicolon + 1);
            if (semicolon != std::string_view::npos && declarations.empty()) return fail("a style ending with ';'");
            const auto colon = declaration.find(':');
            if (colon == std::string_view::npos) return fail("a declaration without ':'");
            const std::string_view name = declaration.substr(0, colon);
            if (!allowed(on_span, name, declaration.substr(colon + 1)))
                return fail("a property or value not allowed: " + std::string(declaration));
            if (name == "font-family" && declaration.substr(colon + 1) == "Symbol") symbol_span_ = true;
            for (std::size_t i = 0; i < seen_count; ++i)
                if (seen[i] == name) return fail("a property given twice: " + std::string(name));
            seen[seen_count++] = name;
        }
        pos_ = end + 1;
        return true;
    }

    // One character of text, raw or as a reference.
    KZ_CHECK_NOT_COVERED bool character(std::u32string& text) {
        const char c = in_[pos_];
        if (c == '>' || c == '"') return fail("an unescaped '>' or '\"'");
        if (c != '&') {
            text += static_cast<char32_t>(static_cast<unsigned char>(c));
            ++pos_;
            return true;
        }
        for (const auto& [name, code_point] : {std::pair<std::string_view, char32_t>{"&lt;", U'<'},
                                               {"&gt;", U'>'}, {"&amp;", U'&'}, {"&quot;", U'"'}}) {
            if (take(name)) {
                text += code_point;
                return true;
            }
        }
        if (!take("&#")) return fail("an '&' that begins no reference");
        char32_t code_point = 0;
        std::size_t digits = 0;
        while (pos_ < in_.size() && in_[pos_] >= '0' && in_[pos_] <= '9' && digits < 8) {
            code_point = code_point * 10 + static_cast<char32_t>(in_[pos_++] - '0');
            ++digits;
        }
        if (digits == 0 || !take(";")) return fail("a malformed character reference");
        if (code_point == 0 || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF) ||
            code_point == U'\n' || code_point == U'\v' || code_point == U'\r' || read_as_another(code_point))
            return fail("a reference to a character HTML does not give back, or to a line end");
        text += code_point;
        return true;
    }

    KZ_CHECK_NOT_COVERED bool paragraph() {
        if (!take("<p")) return fail("text or an element outside a paragraph");
        if (take(" style=\"") && !style(false)) return false;
        if (!take(">")) return fail("a malformed <p>");
        std::u32string items;  // the characters, a line break as '\v'
        std::vector<bool> symbol;  // for each item, whether it is in the Symbol font
        while (!take("</p>")) {
            if (pos_ >= in_.size()) return fail("an unclosed paragraph");
            if (take("<br>")) {
                items += U'\v';
            } else if (take("<span style=\"")) {
                symbol_span_ = false;
                if (!style(true)) return false;
                if (!take(">")) return fail("a malformed <span>");
                const std::size_t before = items.size();
                while (!take("</span>")) {
                    if (pos_ >= in_.size() || in_[pos_] == '<') return fail("an element inside a span, or an unclosed span");
                    if (!character(items)) return false;
                }
                if (items.size() == before) return fail("an empty span");
                symbol.resize(items.size(), symbol_span_);
            } else if (in_[pos_] == '<') {
                return fail("an element that is not allowed");
            } else if (!character(items)) {
                return false;
            }
        }
        // A paragraph's last <br> only keeps its last line's height: it is
        // there exactly when that line is empty.
        if (items.empty()) return fail("an empty paragraph without its <br>");
        if (items.back() == U'\v') {
            items.pop_back();
            if (!items.empty() && items.back() != U'\v') return fail("a last <br> after a line that is not empty");
        }
        symbol.resize(items.size(), false);
        fragment_.shown += items;
        fragment_.in_symbol_font.insert(fragment_.in_symbol_font.end(), symbol.begin(), symbol.end());
        return true;
    }

    std::string_view in_;
    bool symbol_span_ = false;  // the span whose style is being read is in the Symbol font
    std::size_t pos_ = 0;
    PageFragment fragment_;
};

}  // namespace fragment_rules

KZ_CHECK_NOT_COVERED inline PageFragment read_page_fragment(std::string_view html) { return fragment_rules::Reader(html).read(); }

// The shown text in Windows-1252, each character narrowed as rich_to_plain
// narrows it (it is asked, once per character); a paragraph end stays '\r'.
// A character of the Symbol font is shown as the sign that the font draws
// for its byte: where the plain text's byte at its place has that sign, the
// byte is taken.
KZ_CHECK_NOT_COVERED inline std::string narrowed_as_plain_text(const PageFragment& fragment, std::string_view plain) {
    const std::u32string& shown = fragment.shown;
    static std::array<int, 0x10000> narrowed = [] {
        std::array<int, 0x10000> all{};
        all.fill(-1);
        return all;
    }();
    std::string out;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const char32_t code_point = shown[i];
        if (i < fragment.in_symbol_font.size() && fragment.in_symbol_font[i] && i < plain.size() &&
            symbol_font_sign(static_cast<unsigned char>(plain[i])) == code_point) {
            out += plain[i];
        } else if (code_point == U'\r') {
            out += '\r';
        } else if (code_point > 0xFFFF) {
            out += "??";  // the two halves of its surrogate pair
        } else {
            int& byte = narrowed[code_point];
            if (byte < 0) {
                const std::string plain = rich_to_plain("{\\rtf1\\uc0 \\u" + std::to_string(code_point) + " }");
                byte = plain.size() == 1 ? static_cast<unsigned char>(plain[0]) : 0;
            }
            out += static_cast<char>(byte);
        }
    }
    return out;
}

// What the fragment of a text that is not rich shows: its line ends as '\r',
// a last line end left out, a zero byte as U+FFFD (narrowed to "?").
KZ_CHECK_NOT_COVERED inline std::string plain_text_lines(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\r';
        } else {
            out += text[i] == '\0' ? '?' : text[i];
        }
    }
    if (!out.empty() && out.back() == '\r') out.pop_back();
    return out;
}

// The text that rich_to_html(text) must show, narrowed.
KZ_CHECK_NOT_COVERED inline std::string text_a_fragment_shows(std::string_view text) {
    return text.starts_with("{\\rtf") ? rich_to_plain(text) : plain_text_lines(text);
}

}  // namespace kz

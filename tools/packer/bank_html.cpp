// The HTML and Markdown of question texts in learning platforms' banks,
// reduced to what a quiz's rich text keeps: characters, bold, italic and
// line breaks. HTML here is the loose HTML of text editors (unclosed <br>,
// <p> without </p>), not XML: it is read tag by tag, never as a tree.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

#include "bank_formats.h"
#include "common/cp1252.h"

namespace kz::bank {
namespace {

// Entities from U+00A0 to U+00FF, in order.
constexpr std::array<std::string_view, 96> latin1_entities = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

// Greek letters from U+0391 (capitals) and U+03B1 (small), in order; U+03A2
// has no capital.
constexpr std::array<std::string_view, 25> greek_entities = {
    "alpha", "beta",  "gamma", "delta",   "epsilon", "zeta", "eta", "theta", "iota",
    "kappa", "lambda", "mu",   "nu",      "xi",      "omicron", "pi", "rho", "sigmaf",
    "sigma", "tau",   "upsilon", "phi",   "chi",     "psi",  "omega"};

struct Entity {
    std::string_view name;
    char32_t code_point;
};
constexpr Entity other_entities[] = {
    {"amp", '&'},        {"lt", '<'},         {"gt", '>'},         {"quot", '"'},       {"apos", '\''},
    {"euro", 0x20AC},    {"OElig", 0x152},    {"oelig", 0x153},    {"Scaron", 0x160},   {"scaron", 0x161},
    {"Yuml", 0x178},     {"fnof", 0x192},     {"circ", 0x2C6},     {"tilde", 0x2DC},    {"ensp", 0x2002},
    {"emsp", 0x2003},    {"thinsp", 0x2009},  {"ndash", 0x2013},   {"mdash", 0x2014},   {"lsquo", 0x2018},
    {"rsquo", 0x2019},   {"sbquo", 0x201A},   {"ldquo", 0x201C},   {"rdquo", 0x201D},   {"bdquo", 0x201E},
    {"dagger", 0x2020},  {"Dagger", 0x2021},  {"bull", 0x2022},    {"hellip", 0x2026},  {"permil", 0x2030},
    {"prime", 0x2032},   {"lsaquo", 0x2039},  {"rsaquo", 0x203A},  {"trade", 0x2122},   {"larr", 0x2190},
    {"uarr", 0x2191},    {"rarr", 0x2192},    {"darr", 0x2193},    {"harr", 0x2194},    {"rArr", 0x21D2},
    {"hArr", 0x21D4},    {"forall", 0x2200},  {"part", 0x2202},    {"exist", 0x2203},   {"empty", 0x2205},
    {"nabla", 0x2207},   {"isin", 0x2208},    {"notin", 0x2209},   {"sum", 0x2211},     {"minus", 0x2212},
    {"radic", 0x221A},   {"infin", 0x221E},   {"and", 0x2227},     {"or", 0x2228},      {"cap", 0x2229},
    {"cup", 0x222A},     {"int", 0x222B},     {"asymp", 0x2248},   {"ne", 0x2260},      {"equiv", 0x2261},
    {"le", 0x2264},      {"ge", 0x2265},      {"sub", 0x2282},     {"sup", 0x2283},
};

std::optional<char32_t> named_entity(std::string_view name) {
    if (name == "nbsp") return U' ';  // editors scatter them; a plain blank compares better
    for (std::size_t i = 0; i < latin1_entities.size(); ++i)
        if (latin1_entities[i] == name) return static_cast<char32_t>(0xA0 + i);
    for (std::size_t i = 0; i < greek_entities.size(); ++i) {
        if (greek_entities[i] == name) return static_cast<char32_t>(0x3B1 + i);
        std::string capital(greek_entities[i]);
        capital[0] = static_cast<char>(capital[0] - 32);
        if (capital == name && greek_entities[i] != "sigmaf") return static_cast<char32_t>(0x391 + i);
    }
    for (const auto& entity : other_entities)
        if (entity.name == name) return entity.code_point;
    return std::nullopt;
}

bool html_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string lower_ascii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return out;
}

// Writes characters in runs of one style, with blanks collapsed and line
// breaks where blocks end.
class StyledWriter {
public:
    void character(std::string_view utf8, bool bold, bool italic) {
        if (break_pending_ && wrote_) {
            flush();
            text_.line_break();
            blank_pending_ = false;
        }
        break_pending_ = false;
        if (blank_pending_ && wrote_ && !line_start_) run(" ", blank_bold_, blank_italic_);
        blank_pending_ = false;
        run(utf8, bold, italic);
        wrote_ = true;
        line_start_ = false;
    }
    // A blank takes the style in which it stands: "a <b>b</b>" has a plain
    // blank.
    void blank(bool bold, bool italic) {
        if (!blank_pending_) blank_bold_ = bold, blank_italic_ = italic;
        blank_pending_ = true;
    }
    void line_break() {
        flush();
        text_.line_break();
        blank_pending_ = false;
        break_pending_ = false;
        wrote_ = true;
        line_start_ = true;
    }
    void block_end() {
        if (!line_start_) break_pending_ = true;
    }
    StyledText finish() {
        flush();
        text_.trim();
        return std::move(text_);
    }

private:
    void run(std::string_view utf8, bool bold, bool italic) {
        if (bold != bold_ || italic != italic_) flush();
        bold_ = bold, italic_ = italic;
        run_ += utf8;
    }
    void flush() {
        if (!run_.empty()) text_.append(run_, bold_, italic_);
        run_.clear();
    }

    StyledText text_;
    std::string run_;
    bool bold_ = false, italic_ = false;
    bool blank_bold_ = false, blank_italic_ = false;
    bool blank_pending_ = false, break_pending_ = false, wrote_ = false, line_start_ = true;
};

}  // namespace

StyledText html_to_styled(std::string_view html, int& pictures) {
    StyledWriter out;
    int bold = 0, italic = 0;
    const std::size_t n = html.size();
    for (std::size_t i = 0; i < n;) {
        const char c = html[i];
        if (c == '<') {
            if (html.compare(i, 4, "<!--") == 0) {
                const std::size_t end = html.find("-->", i + 4);
                i = end == std::string_view::npos ? n : end + 3;
                continue;
            }
            std::size_t j = i + 1;
            const bool closing = j < n && html[j] == '/';
            if (closing) ++j;
            std::size_t name_end = j;
            while (name_end < n && std::isalnum(static_cast<unsigned char>(html[name_end]))) ++name_end;
            if (name_end == j && !(j < n && (html[j] == '!' || html[j] == '?'))) {
                // A "<" that opens no tag is text.
                out.character("<", bold > 0, italic > 0);
                ++i;
                continue;
            }
            // The tag's end, past quoted attribute values.
            std::size_t end = name_end;
            char quote = 0;
            while (end < n && (quote || html[end] != '>')) {
                if (quote && html[end] == quote) quote = 0;
                else if (!quote && (html[end] == '"' || html[end] == '\'')) quote = html[end];
                ++end;
            }
            const std::string name = lower_ascii(html.substr(j, name_end - j));
            i = end < n ? end + 1 : n;
            if (name == "b" || name == "strong") {
                bold = std::max(0, bold + (closing ? -1 : 1));
            } else if (name == "i" || name == "em") {
                italic = std::max(0, italic + (closing ? -1 : 1));
            } else if (name == "br") {
                out.line_break();
            } else if (name == "img") {
                ++pictures;
            } else if (name == "td" || name == "th") {
                out.blank(bold > 0, italic > 0);
            } else if ((name == "script" || name == "style") && !closing) {
                const std::size_t stop = lower_ascii(html.substr(i)).find("</" + name);
                i = stop == std::string::npos ? n : i + stop;
            } else if (name == "p" || name == "div" || name == "li" || name == "ul" || name == "ol" ||
                       name == "tr" || name == "table" || name == "blockquote" || name == "pre" ||
                       (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6')) {
                out.block_end();
            }
            continue;
        }
        if (c == '&') {
            // An entity is short: its end is looked for in the next few
            // characters only, so that a text of lone "&" stays linear.
            const std::size_t near = html.substr(i + 1, 12).find(';');
            const std::size_t semicolon = near == std::string_view::npos ? near : i + 1 + near;
            if (semicolon != std::string_view::npos) {
                const std::string_view name = html.substr(i + 1, semicolon - i - 1);
                std::optional<char32_t> cp;
                if (name.starts_with("#x") || name.starts_with("#X")) {
                    cp = static_cast<char32_t>(std::strtoul(std::string(name.substr(2)).c_str(), nullptr, 16));
                } else if (name.starts_with("#")) {
                    cp = static_cast<char32_t>(std::strtoul(std::string(name.substr(1)).c_str(), nullptr, 10));
                } else {
                    cp = named_entity(name);
                }
                if (cp && *cp != 0) {
                    if (*cp == ' ' || *cp == '\t') {
                        out.blank(bold > 0, italic > 0);
                    } else {
                        std::string utf8;
                        append_utf8(utf8, *cp);
                        out.character(utf8, bold > 0, italic > 0);
                    }
                    i = semicolon + 1;
                    continue;
                }
            }
            out.character("&", bold > 0, italic > 0);
            ++i;
            continue;
        }
        if (html_blank(c)) {
            out.blank(bold > 0, italic > 0);
            ++i;
            continue;
        }
        // One UTF-8 character.
        std::size_t length = 1;
        while (i + length < n && (static_cast<unsigned char>(html[i + length]) & 0xC0) == 0x80) ++length;
        out.character(html.substr(i, length), bold > 0, italic > 0);
        i += length;
    }
    return out.finish();
}

StyledText markdown_to_styled(std::string_view markdown) {
    StyledText out;
    bool bold = false, italic = false;
    std::string run;
    const auto flush = [&] {
        if (!run.empty()) out.append(run, bold, italic);
        run.clear();
    };
    const auto word_char = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || (c & 0x80); };
    // Where each marker ("*", "**", "_", "__") next occurs, found again only
    // once passed, so that a text of many markers stays linear.
    std::array<std::size_t, 4> next_marker{};
    const auto occurs_after = [&](const std::string& marker, std::size_t from) {
        std::size_t& next = next_marker[(marker[0] == '_' ? 2 : 0) + (marker.size() - 1)];
        if (next != std::string_view::npos && next < from) next = markdown.find(marker, from);
        return next != std::string_view::npos;
    };
    for (std::size_t i = 0; i < markdown.size(); ++i) {
        const char c = markdown[i];
        if (c == '\\' && i + 1 < markdown.size() && std::string_view("\\*_`#[]()").find(markdown[i + 1]) != std::string_view::npos) {
            run += markdown[++i];
            continue;
        }
        if (c == '*' || c == '_') {
            const bool doubled = i + 1 < markdown.size() && markdown[i + 1] == c;
            const std::string marker(doubled ? 2 : 1, c);
            bool& state = doubled ? bold : italic;
            // An underscore inside a word is a character; a marker opens
            // only when it is closed further on.
            const bool inside_word = c == '_' && i > 0 && word_char(markdown[i - 1]) &&
                                     i + marker.size() < markdown.size() && word_char(markdown[i + marker.size()]);
            if (!inside_word && (state || occurs_after(marker, i + marker.size()))) {
                flush();
                state = !state;
                i += marker.size() - 1;
                continue;
            }
        }
        if (c == '\n') {
            // A blank line ends a paragraph; a single line end is a blank.
            std::size_t j = i + 1;
            while (j < markdown.size() && (markdown[j] == ' ' || markdown[j] == '\t')) ++j;
            if (j < markdown.size() && markdown[j] == '\n') {
                flush();
                out.line_break();
                i = j;
            } else {
                run += ' ';
            }
            continue;
        }
        run += c;
    }
    flush();
    out.trim();
    return out;
}

std::string styled_to_html(const StyledText& text) {
    std::string html;
    for (const auto& span : text.spans()) {
        if (span.bold) html += "<b>";
        if (span.italic) html += "<i>";
        for (const char c : span.utf8) {
            switch (c) {
            case '&': html += "&amp;"; break;
            case '<': html += "&lt;"; break;
            case '>': html += "&gt;"; break;
            case '\n': html += "<br>"; break;
            default: html += c;
            }
        }
        if (span.italic) html += "</i>";
        if (span.bold) html += "</b>";
    }
    return html;
}

}  // namespace kz::bank

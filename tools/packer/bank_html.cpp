// The HTML and Markdown of question texts in learning platforms' banks,
// reduced to what a quiz's rich text keeps: characters, bold, italic and
// line breaks. HTML here is the loose HTML of text editors (unclosed <br>,
// <p> without </p>), not XML: it is read tag by tag, never as a tree.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>

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
    void character(std::string_view utf8, bool bold, bool italic, Shift shift) {
        if (break_pending_ && wrote_) {
            flush();
            text_.line_break();
            blank_pending_ = false;
        }
        break_pending_ = false;
        if (blank_pending_ && wrote_ && !line_start_) run(" ", blank_bold_, blank_italic_, Shift::none);
        blank_pending_ = false;
        run(utf8, bold, italic, shift);
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
    void run(std::string_view utf8, bool bold, bool italic, Shift shift) {
        if (bold != bold_ || italic != italic_ || shift != shift_) flush();
        bold_ = bold, italic_ = italic, shift_ = shift;
        run_ += utf8;
    }
    void flush() {
        if (!run_.empty()) text_.append(run_, bold_, italic_, shift_);
        run_.clear();
    }

    StyledText text_;
    std::string run_;
    bool bold_ = false, italic_ = false;
    Shift shift_ = Shift::none;
    bool blank_bold_ = false, blank_italic_ = false;
    bool blank_pending_ = false, break_pending_ = false, wrote_ = false, line_start_ = true;
};


// The character of an entity's name ("eacute", "#233", "#xE9"), or nothing
// when no table defines it.
std::optional<char32_t> entity_code_point(std::string_view name) {
    std::optional<char32_t> cp;
    const auto number = [](std::string_view digits, int base) -> std::optional<char32_t> {
        if (digits.empty() || digits.size() > 8) return std::nullopt;
        char* stop = nullptr;
        const std::string text(digits);
        const unsigned long value = std::strtoul(text.c_str(), &stop, base);
        if (*stop != '\0' || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
        return static_cast<char32_t>(value);
    };
    if (name.starts_with("#x") || name.starts_with("#X")) return number(name.substr(2), 16);
    if (name.starts_with("#")) return number(name.substr(1), 10);
    return named_entity(name);
}

// A name as entities are written: a letter, then letters and digits.
bool is_entity_name(std::string_view name) {
    if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// "&name;".
std::string entity_written(std::string_view name) {
    std::string written(1, '&');
    written += name;
    written += ';';
    return written;
}

// A text's entities decoded; the names of those that no table defines, kept
// as written, are added to `unknown`.
std::string decode_entities(std::string_view text, std::vector<std::string>& unknown) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t near = text.substr(i + 1, 32).find(';');
        if (near != std::string_view::npos) {
            const std::string_view name = text.substr(i + 1, near);
            if (const auto cp = entity_code_point(name)) {
                append_utf8(out, *cp);
                i += near + 1;
                continue;
            }
            if (is_entity_name(name)) unknown.push_back(entity_written(name));
        }
        out += '&';
    }
    return out;
}

// An address of the platform's files left in a text's characters (a plain
// text, a link's words) names a file the quiz does not have: it is taken out
// of the text, up to the next blank, as a medium of the text.
void take_platform_paths(ReadText& read) {
    const std::string_view marker = "@@PLUGINFILE@@";
    if (read.text.plain().find(marker) == std::string::npos) return;
    StyledText kept;
    for (const Span& span : read.text.spans()) {
        std::string rest = span.utf8;
        for (std::size_t at; (at = rest.find(marker)) != std::string::npos;) {
            std::size_t end = at;
            while (end < rest.size() && !std::isspace(static_cast<unsigned char>(rest[end]))) ++end;
            std::string source = rest.substr(at, end - at);
            while (!source.empty() && std::string_view(".,;:!?)]\"'»").find(source.back()) != std::string_view::npos) {
                source.pop_back();
                --end;
            }
            read.media.push_back({medium_kind(source), source, "", ""});
            rest.erase(at, end - at);
        }
        kept.append(rest, span.bold, span.italic, span.shift);
    }
    // Blanks left twice in a row, or at the ends, by what was taken out.
    StyledText tidy;
    for (const Span& span : kept.spans()) {
        std::string text;
        for (const char c : span.utf8)
            if (!(c == ' ' && ((text.empty() && !tidy.spans().empty() && tidy.spans().back().utf8.ends_with(' ')) ||
                               text.ends_with(' '))))
                text += c;
        tidy.append(text, span.bold, span.italic, span.shift);
    }
    tidy.trim();
    read.text = std::move(tidy);
}


// The value of a tag's attribute (name in lower case), entities decoded;
// nothing when the tag has no such attribute.
std::optional<std::string> attribute(std::string_view tag, std::string_view name) {
    std::size_t i = 0;
    const std::size_t n = tag.size();
    while (i < n) {
        while (i < n && (html_blank(tag[i]) || tag[i] == '/')) ++i;
        const std::size_t name_start = i;
        while (i < n && !html_blank(tag[i]) && tag[i] != '=' && tag[i] != '/' && tag[i] != '>') ++i;
        const std::string found = lower_ascii(tag.substr(name_start, i - name_start));
        while (i < n && html_blank(tag[i])) ++i;
        std::string_view value;
        if (i < n && tag[i] == '=') {
            ++i;
            while (i < n && html_blank(tag[i])) ++i;
            if (i < n && (tag[i] == '"' || tag[i] == '\'')) {
                const char quote = tag[i++];
                const std::size_t close = tag.find(quote, i);
                const std::size_t stop = close == std::string_view::npos ? n : close;
                value = tag.substr(i, stop - i);
                i = stop + 1;
            } else {
                const std::size_t value_start = i;
                while (i < n && !html_blank(tag[i]) && tag[i] != '>') ++i;
                value = tag.substr(value_start, i - value_start);
            }
        }
        if (found.empty()) {
            ++i;
            continue;
        }
        if (found == name) {
            std::vector<std::string> ignored;
            return decode_entities(value, ignored);
        }
    }
    return std::nullopt;
}

// Reads an HTML text tag by tag into its styled characters and its media.
class HtmlReader {
public:
    explicit HtmlReader(std::string_view html) : html_(html) {}

    ReadText read() {
        const std::size_t n = html_.size();
        while (i_ < n) {
            const char c = html_[i_];
            if (c == '<') {
                tag();
            } else if (c == '&') {
                entity();
            } else if (html_blank(c)) {
                out_.blank(bold_ > 0, italic_ > 0);
                ++i_;
            } else {
                // One UTF-8 character.
                std::size_t length = 1;
                while (i_ + length < n && (static_cast<unsigned char>(html_[i_ + length]) & 0xC0) == 0x80) ++length;
                character(html_.substr(i_, length));
                i_ += length;
            }
        }
        result_.text = out_.finish();
        take_platform_paths(result_);
        return std::move(result_);
    }

private:
    Shift shift() const {
        if (raised_ > lowered_) return Shift::superscript;
        if (lowered_ > 0) return Shift::subscript;
        return Shift::none;
    }
    void character(std::string_view utf8) { out_.character(utf8, bold_ > 0, italic_ > 0, shift()); }

    void entity() {
        // An entity is short: its end is looked for in the next few
        // characters only, so that a text of lone "&" stays linear.
        const std::size_t near = html_.substr(i_ + 1, 32).find(';');
        if (near != std::string_view::npos) {
            const std::string_view name = html_.substr(i_ + 1, near);
            if (const auto cp = entity_code_point(name)) {
                if (*cp == ' ' || *cp == '\t') {
                    out_.blank(bold_ > 0, italic_ > 0);
                } else {
                    std::string utf8;
                    append_utf8(utf8, *cp);
                    character(utf8);
                }
                i_ += near + 2;
                return;
            }
            if (is_entity_name(name)) {
                const std::string written = entity_written(name);
                if (std::find(result_.unknown_entities.begin(), result_.unknown_entities.end(), written) ==
                    result_.unknown_entities.end())
                    result_.unknown_entities.push_back(written);
            }
        }
        character("&");
        ++i_;
    }

    void tag() {
        const std::size_t n = html_.size();
        if (html_.compare(i_, 4, "<!--") == 0) {
            const std::size_t end = html_.find("-->", i_ + 4);
            i_ = end == std::string_view::npos ? n : end + 3;
            return;
        }
        std::size_t j = i_ + 1;
        const bool closing = j < n && html_[j] == '/';
        if (closing) ++j;
        std::size_t name_end = j;
        while (name_end < n && std::isalnum(static_cast<unsigned char>(html_[name_end]))) ++name_end;
        if (name_end == j && !(j < n && (html_[j] == '!' || html_[j] == '?'))) {
            // A "<" that opens no tag is text.
            character("<");
            ++i_;
            return;
        }
        // The tag's end, past quoted attribute values.
        std::size_t end = name_end;
        char quote = 0;
        while (end < n && (quote || html_[end] != '>')) {
            if (quote && html_[end] == quote) quote = 0;
            else if (!quote && (html_[end] == '"' || html_[end] == '\'')) quote = html_[end];
            ++end;
        }
        const std::string name = lower_ascii(html_.substr(j, name_end - j));
        const std::string_view attributes = html_.substr(name_end, std::min(end, n) - name_end);
        i_ = end < n ? end + 1 : n;
        const auto count = [&](int& depth) { depth = std::max(0, depth + (closing ? -1 : 1)); };
        if (name == "b" || name == "strong") {
            count(bold_);
        } else if (name == "i" || name == "em") {
            count(italic_);
        } else if (name == "sup") {
            count(raised_);
        } else if (name == "sub") {
            count(lowered_);
        } else if (name == "br") {
            out_.line_break();
        } else if (closing) {
            if (is_block(name)) out_.block_end();
        } else if (name == "img") {
            medium(TextMedium::Kind::picture, attribute(attributes, "src"), attribute(attributes, "alt"));
        } else if (name == "audio" || name == "video" || name == "object" || name == "iframe") {
            // A player or an embedded page: its content is what a browser
            // shows when it cannot play it.
            std::optional<std::string> source = attribute(attributes, name == "object" ? "data" : "src");
            const std::size_t stop = lower_ascii(html_.substr(i_)).find("</" + name);
            const std::string_view inside = html_.substr(i_, stop == std::string::npos ? n - i_ : stop);
            if (!source) {
                // The first <source src="...">, else the first link, inside.
                for (const char* inner : {"<source", "<a "}) {
                    const std::size_t at = lower_ascii(inside).find(inner);
                    if (at == std::string::npos) continue;
                    const std::size_t close = inside.find('>', at);
                    source = attribute(inside.substr(at + std::strlen(inner), close == std::string_view::npos
                                                                                  ? std::string_view::npos
                                                                                  : close - at - std::strlen(inner)),
                                       inner[1] == 's' ? "src" : "href");
                    if (source) break;
                }
            }
            TextMedium::Kind kind = name == "audio" ? TextMedium::Kind::sound : TextMedium::Kind::video;
            if (source && (name == "object" || name == "iframe") && medium_kind(*source) != TextMedium::Kind::file)
                kind = medium_kind(*source);
            medium(kind, source, std::nullopt);
            if (stop != std::string::npos) {
                const std::size_t close = html_.find('>', i_ + stop);
                i_ = close == std::string_view::npos ? n : close + 1;
            } else {
                i_ = n;
            }
        } else if (name == "embed") {
            const auto source = attribute(attributes, "src");
            medium(source && medium_kind(*source) == TextMedium::Kind::sound ? TextMedium::Kind::sound
                                                                              : TextMedium::Kind::video,
                   source, std::nullopt);
        } else if (name == "a") {
            // The platform shows a link to a sound or a video as a player,
            // in place of the link's words.
            const auto href = attribute(attributes, "href");
            const TextMedium::Kind kind = href ? medium_kind(*href) : TextMedium::Kind::file;
            if (href && (kind == TextMedium::Kind::sound || kind == TextMedium::Kind::video)) {
                medium(kind, href, std::nullopt);
                const std::size_t stop = lower_ascii(html_.substr(i_)).find("</a");
                if (stop == std::string::npos) {
                    i_ = n;
                } else {
                    const std::size_t close = html_.find('>', i_ + stop);
                    i_ = close == std::string_view::npos ? n : close + 1;
                }
            } else if (href && platform_file_path(*href)) {
                // A link to another file of the platform: its words stay.
                medium(TextMedium::Kind::file, href, std::nullopt);
            }
        } else if ((name == "script" || name == "style")) {
            const std::size_t stop = lower_ascii(html_.substr(i_)).find("</" + name);
            i_ = stop == std::string::npos ? n : i_ + stop;
        } else if (name == "td" || name == "th") {
            out_.blank(bold_ > 0, italic_ > 0);
        } else if (is_block(name)) {
            out_.block_end();
        }
    }

    static bool is_block(const std::string& name) {
        return name == "p" || name == "div" || name == "li" || name == "ul" || name == "ol" || name == "tr" ||
               name == "table" || name == "blockquote" || name == "pre" ||
               (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6');
    }

    void medium(TextMedium::Kind kind, const std::optional<std::string>& source, const std::optional<std::string>& alt) {
        result_.media.push_back({kind, source.value_or(""), alt.value_or(""), ""});
    }

    std::string_view html_;
    std::size_t i_ = 0;
    StyledWriter out_;
    ReadText result_;
    int bold_ = 0, italic_ = 0, raised_ = 0, lowered_ = 0;
};

}  // namespace

ReadText html_to_styled(std::string_view html) { return HtmlReader(html).read(); }

ReadText markdown_to_styled(std::string_view markdown) {
    ReadText read;
    StyledText& out = read.text;
    bool bold = false, italic = false;
    int raised = 0, lowered = 0;
    std::string run;
    const auto flush = [&] {
        const Shift shift = raised > lowered ? Shift::superscript : lowered > 0 ? Shift::subscript : Shift::none;
        if (!run.empty()) out.append(run, bold, italic, shift);
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
        if (c == '\\' && i + 1 < markdown.size() && std::string_view("\\*_`#[]()!<").find(markdown[i + 1]) != std::string_view::npos) {
            run += markdown[++i];
            continue;
        }
        if (c == '<') {
            // The HTML tags of superscript and subscript, which Markdown
            // lets a text use.
            const std::string tag = lower_ascii(markdown.substr(i, 6));
            int* depth = tag.starts_with("<sup>") || tag.starts_with("</sup>")   ? &raised
                         : tag.starts_with("<sub>") || tag.starts_with("</sub>") ? &lowered
                                                                                 : nullptr;
            if (depth) {
                flush();
                const bool closing = tag[1] == '/';
                *depth = std::max(0, *depth + (closing ? -1 : 1));
                i += closing ? 5 : 4;
                continue;
            }
        }
        if ((c == '[' || (c == '!' && i + 1 < markdown.size() && markdown[i + 1] == '['))) {
            // ![alt](address) is a picture, [words](address) a link.
            const std::size_t open = c == '!' ? i + 1 : i;
            const std::size_t close = markdown.find(']', open);
            if (close != std::string_view::npos && close + 1 < markdown.size() && markdown[close + 1] == '(' &&
                markdown.substr(open, close - open).find('\n') == std::string_view::npos) {
                const std::size_t end = markdown.find(')', close + 2);
                if (end != std::string_view::npos) {
                    std::string_view address = markdown.substr(close + 2, end - close - 2);
                    address = address.substr(0, address.find(' '));  // a title may follow
                    const std::string_view words = markdown.substr(open + 1, close - open - 1);
                    const TextMedium::Kind kind = c == '!' ? TextMedium::Kind::picture : medium_kind(address);
                    if (kind != TextMedium::Kind::file || platform_file_path(address))
                        read.media.push_back({kind, std::string(address), c == '!' ? std::string(words) : "", ""});
                    if (kind == TextMedium::Kind::file) run += words;
                    i = end;
                    continue;
                }
            }
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
    take_platform_paths(read);
    return read;
}

ReadText plain_to_styled(std::string_view plain) {
    ReadText read;
    read.text = StyledText(plain);
    read.text.trim();
    take_platform_paths(read);
    return read;
}

std::vector<std::string> written_entities(std::string_view text) {
    std::vector<std::string> names;
    for (std::size_t at = text.find('&'); at != std::string_view::npos; at = text.find('&', at + 1)) {
        const std::size_t near = text.substr(at + 1, 32).find(';');
        if (near == std::string_view::npos || !is_entity_name(text.substr(at + 1, near))) continue;
        const std::string written(text.substr(at, near + 2));
        if (std::find(names.begin(), names.end(), written) == names.end()) names.push_back(written);
    }
    return names;
}

namespace {

// An address's path: what comes before its query or fragment, %xx decoded.
std::string decoded_path(std::string_view address) {
    address = address.substr(0, address.find_first_of("?#"));
    const auto hex = [](char h) -> int {
        if (h >= '0' && h <= '9') return h - '0';
        if (h >= 'a' && h <= 'f') return h - 'a' + 10;
        if (h >= 'A' && h <= 'F') return h - 'A' + 10;
        return -1;
    };
    std::string path;
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (address[i] == '%' && i + 2 < address.size() && hex(address[i + 1]) >= 0 && hex(address[i + 2]) >= 0) {
            path += static_cast<char>(hex(address[i + 1]) * 16 + hex(address[i + 2]));
            i += 2;
        } else {
            path += address[i];
        }
    }
    return path;
}

}  // namespace

std::optional<std::string> platform_file_path(std::string_view source) {
    const std::size_t at = source.find(platform_file_prefix);
    if (at == std::string_view::npos) return std::nullopt;
    return decoded_path(source.substr(at + platform_file_prefix.size()));
}

std::optional<std::string> local_file_path(std::string_view source) {
    const std::size_t first = source.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || platform_file_path(source)) return std::nullopt;
    source = source.substr(first, source.find_last_not_of(" \t\r\n") + 1 - first);
    // A scheme ("https:", "data:", "file:") or a drive ("C:") has a colon; a
    // rooted path starts with a slash.
    std::string path = decoded_path(source);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || path.front() == '/' || path.find(':') != std::string::npos || path.find('\0') != std::string::npos)
        return std::nullopt;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (path.substr(start, end - start) == "..") return std::nullopt;
        start = end + 1;
    }
    return path;
}

TextMedium::Kind medium_kind(std::string_view source) {
    std::string address = lower_ascii(source.substr(0, source.find_first_of("?#")));
    const std::size_t dot = address.rfind('.');
    const std::string extension = dot == std::string::npos || address.find('/', dot) != std::string::npos
                                      ? ""
                                      : address.substr(dot + 1);
    static constexpr std::string_view pictures[] = {"png", "jpg", "jpeg", "gif", "bmp", "svg", "webp", "tif", "tiff"};
    static constexpr std::string_view sounds[] = {"mp3", "ogg", "oga", "wav", "m4a", "aac", "flac", "opus", "wma", "mid", "midi"};
    static constexpr std::string_view videos[] = {"mp4", "webm", "ogv", "mov", "avi", "m4v", "mkv", "flv", "wmv", "mpg", "mpeg"};
    const auto among = [&](const auto& list) { return std::find(std::begin(list), std::end(list), extension) != std::end(list); };
    if (among(pictures)) return TextMedium::Kind::picture;
    if (among(sounds)) return TextMedium::Kind::sound;
    if (among(videos)) return TextMedium::Kind::video;
    for (const char* site : {"youtube.com/", "youtu.be/", "vimeo.com/", "dailymotion.com/"})
        if (address.find(site) != std::string::npos) return TextMedium::Kind::video;
    return TextMedium::Kind::file;
}

std::string medium_word(TextMedium::Kind kind) {
    switch (kind) {
    case TextMedium::Kind::picture: return "the picture";
    case TextMedium::Kind::sound: return "the sound";
    case TextMedium::Kind::video: return "the video";
    case TextMedium::Kind::file: break;
    }
    return "the file";
}

std::string medium_name(const TextMedium& medium) {
    if (auto path = platform_file_path(medium.source); path || (path = local_file_path(medium.source))) {
        const std::size_t slash = path->rfind('/');
        return slash == std::string::npos ? *path : path->substr(slash + 1);
    }
    if (medium.source.starts_with("data:")) return "(held in the text)";
    return medium.source.empty() ? "(without address)" : medium.source;
}

namespace {

// Why a medium is not taken in, as far as its kind and address tell.
std::string why_dropped(const TextMedium& medium, std::string_view no_file) {
    if (!medium.why.empty()) return medium.why;
    if (medium.kind == TextMedium::Kind::video) return "a quiz shows no videos";
    if (medium.kind == TextMedium::Kind::file) return "a quiz holds no other files (a link's words are kept)";
    if (platform_file_path(medium.source)) return std::string(no_file);
    if (medium.source.starts_with("data:")) return "a picture written inside the text is not taken in";
    return "a quiz holds its own pictures and sounds, not addresses of other sites";
}

}  // namespace

void report_dropped_media(BankReport& report, std::size_t line, std::string_view text_name,
                          const std::vector<TextMedium>& media, std::string_view no_file) {
    for (const TextMedium& medium : media)
        report.add(line, ReportLine::Kind::changed,
                   medium_word(medium.kind) + " " + quote_text(medium_name(medium)) + " in the " +
                       std::string(text_name) + " is dropped: " + why_dropped(medium, no_file));
}

void report_unknown_entities(BankReport& report, std::size_t line, const std::vector<std::string>& entities) {
    if (entities.empty()) return;
    report.add(line, ReportLine::Kind::changed,
               std::string(entities.size() == 1 ? "an entity that no table defines is" : "entities that no table defines are") +
                   " kept as written: " + joined(entities));
}

StyledText TextLosses::keep(ReadText read, std::string_view text_name) {
    if (!read.media.empty()) media_.emplace_back(std::string(text_name), std::move(read.media));
    for (auto& entity : read.unknown_entities)
        if (std::find(entities_.begin(), entities_.end(), entity) == entities_.end()) entities_.push_back(std::move(entity));
    return std::move(read.text);
}

void TextLosses::report(BankReport& report, std::size_t line, std::string_view no_file) const {
    for (const auto& [name, media] : media_) report_dropped_media(report, line, name, media, no_file);
    report_unknown_entities(report, line, entities_);
}

std::string without_wildcards(std::string_view answer, bool& wildcards) {
    std::string out;
    wildcards = false;
    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (answer[i] == '\\' && i + 1 < answer.size() && answer[i + 1] == '*') {
            out += '*';
            ++i;
        } else if (answer[i] == '*') {
            wildcards = true;
        } else {
            out += answer[i];
        }
    }
    return out;
}

std::string escaped_asterisks(std::string_view answer) {
    std::string out;
    for (const char c : answer) {
        if (c == '*') out += '\\';
        out += c;
    }
    return out;
}

void report_wildcards(BankReport& report, std::size_t line, std::string_view written, const StyledText& kept) {
    report.add(line, ReportLine::Kind::changed,
               "answer " + quote_text(written) + ": \"*\" stands for any text in the platform's short answers, "
               "which a quiz's typed answers do not have; kept as " + quote_text(kept.plain()));
}

std::string styled_to_html(const StyledText& text) {
    std::string html;
    for (const auto& span : text.spans()) {
        if (span.bold) html += "<b>";
        if (span.italic) html += "<i>";
        if (span.shift != Shift::none) html += span.shift == Shift::superscript ? "<sup>" : "<sub>";
        for (const char c : span.utf8) {
            switch (c) {
            case '&': html += "&amp;"; break;
            case '<': html += "&lt;"; break;
            case '>': html += "&gt;"; break;
            case '\n': html += "<br>"; break;
            default: html += c;
            }
        }
        if (span.shift != Shift::none) html += span.shift == Shift::superscript ? "</sup>" : "</sub>";
        if (span.italic) html += "</i>";
        if (span.bold) html += "</b>";
    }
    return html;
}

}  // namespace kz::bank

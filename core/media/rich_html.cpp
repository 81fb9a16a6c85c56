#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/cp1252.h"
#include "media/rich_text.h"
#include "media/rtf_reader.h"

// The rich text as a fragment of HTML for a page. Every word written into the
// markup comes from the fixed strings of this file or from numbers; the
// document's own words (font names, field instructions) never reach it, and
// its characters reach it only as text, escaped.

namespace kz {
namespace {

using rtf::Alignment;
using rtf::Baseline;
using rtf::CharacterLook;
using rtf::Colour;
using rtf::FontFamily;
using rtf::ParagraphLook;

// The families a page is given for the kinds of font, by FontFamily.
constexpr std::string_view family_names[] = {
    {},                                   // unknown: the page's own
    "Arial, Helvetica, sans-serif",       // sans_serif
    "'Times New Roman', Times, serif",    // serif
    "'Courier New', Courier, monospace",  // monospace
    "'Comic Sans MS', cursive",           // script
    "Impact, fantasy",                    // decorative
    "Symbol",                             // symbol
};

// Font sizes are kept between 4 and 144 points; indents within 22 inches.
constexpr std::int32_t smallest_size = 8;  // half-points
constexpr std::int32_t largest_size = 288;
constexpr std::int32_t largest_indent = 31680;  // twips

// A text that is not rich is shown as the runner shows a plain text.
const CharacterLook plain_text_look = [] {
    CharacterLook look;
    look.family = FontFamily::sans_serif;
    look.size = 22;  // 11 points
    look.colour = Colour{0, 0, 0};
    return look;
}();

// A length in hundredths of a point, as "12pt", "10.5pt" or "-0.25pt".
void append_points(std::string& out, std::int64_t hundredths) {
    if (hundredths < 0) {
        out += '-';
        hundredths = -hundredths;
    }
    out += std::to_string(hundredths / 100);
    const auto fraction = static_cast<int>(hundredths % 100);
    if (fraction != 0) {
        out += '.';
        out += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) out += static_cast<char>('0' + fraction % 10);
    }
    out += "pt";
}

void append_colour(std::string& out, const Colour& colour) {
    static constexpr char hex[] = "0123456789abcdef";
    out += '#';
    for (const std::uint8_t level : {colour.red, colour.green, colour.blue}) {
        out += hex[level >> 4];
        out += hex[level & 15];
    }
}

// Declarations are written "name:value;name:value".
void declare(std::string& style, std::string_view name) {
    if (!style.empty()) style += ';';
    style += name;
    style += ':';
}

std::string span_style(const CharacterLook& look) {
    std::string style;
    if (look.family != FontFamily::unknown) {
        declare(style, "font-family");
        style += family_names[static_cast<std::size_t>(look.family)];
    }
    const bool shifted = look.baseline != Baseline::normal;
    if (look.size != 0 || shifted) {
        declare(style, "font-size");
        if (look.size == 0) {
            style += "smaller";
        } else {
            // Half-points to hundredths of a point; raised and lowered
            // characters are two thirds of the size.
            std::int64_t hundredths = std::int64_t{std::clamp(look.size, smallest_size, largest_size)} * 50;
            if (shifted) hundredths = hundredths * 2 / 3;
            append_points(style, hundredths);
        }
    }
    if (look.bold) {
        declare(style, "font-weight");
        style += "bold";
    }
    if (look.italic) {
        declare(style, "font-style");
        style += "italic";
    }
    if (look.underline || look.strike) {
        declare(style, "text-decoration");
        style += look.underline && look.strike ? "underline line-through" : look.underline ? "underline" : "line-through";
    }
    if (shifted) {
        declare(style, "vertical-align");
        style += look.baseline == Baseline::raised ? "super" : "sub";
    }
    if (look.colour) {
        declare(style, "color");
        append_colour(style, *look.colour);
    }
    if (look.background) {
        declare(style, "background-color");
        append_colour(style, *look.background);
    }
    return style;
}

std::string paragraph_style(const ParagraphLook& look) {
    std::string style;
    if (look.alignment != Alignment::left) {
        declare(style, "text-align");
        style += look.alignment == Alignment::centre ? "center" : look.alignment == Alignment::right ? "right" : "justify";
    }
    // Twips to hundredths of a point: a point is 20 twips.
    if (const std::int32_t left = std::clamp(look.left_indent, 0, largest_indent); left != 0) {
        declare(style, "margin-left");
        append_points(style, std::int64_t{left} * 5);
    }
    if (const std::int32_t right = std::clamp(look.right_indent, 0, largest_indent); right != 0) {
        declare(style, "margin-right");
        append_points(style, std::int64_t{right} * 5);
    }
    if (const std::int32_t first = std::clamp(look.first_line_indent, -largest_indent, largest_indent); first != 0) {
        declare(style, "text-indent");
        append_points(style, std::int64_t{first} * 5);
    }
    return style;
}

// Whether HTML gives the code point back when it is written as a character
// reference: not U+0000, not a surrogate, and none of the C1 controls that
// HTML reads as the Windows-1252 character of the same byte (&#128; is the
// euro sign there).
bool survives_reference(char32_t code_point) {
    if (code_point == 0 || code_point > 0x10FFFF) return false;
    if (code_point >= 0xD800 && code_point <= 0xDFFF) return false;
    if (code_point >= 0x80 && code_point < 0xA0)
        return cp1252_to_unicode(static_cast<unsigned char>(code_point)) == code_point;
    return true;
}

void append_text_character(std::string& out, char32_t code_point) {
    switch (code_point) {
    case '<': out += "&lt;"; return;
    case '>': out += "&gt;"; return;
    case '&': out += "&amp;"; return;
    case '"': out += "&quot;"; return;
    default: break;
    }
    if (code_point == '\t' || (code_point >= 0x20 && code_point < 0x7F)) {
        out += static_cast<char>(code_point);
        return;
    }
    out += "&#";
    out += std::to_string(static_cast<std::uint32_t>(survives_reference(code_point) ? code_point : 0xFFFD));
    out += ';';
}

// Writes the characters of a text, as the reader hands them over, into
// paragraphs, line breaks and spans.
class HtmlWriter final : public rtf::TextSink {
public:
    void put(char16_t unit, const CharacterLook& look, const ParagraphLook& paragraph) override {
        if (high_surrogate_) {
            const char16_t high = *high_surrogate_;
            high_surrogate_.reset();
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                character(0x10000 + ((char32_t{high} - 0xD800) << 10) + (unit - 0xDC00), high_look_);
                return;
            }
            character(0xFFFD, high_look_);  // a lone half
        }
        if (unit == u'\r') {
            end_paragraph(paragraph);
        } else if (unit == u'\v') {
            close_span();
            paragraph_ += "<br>";
            paragraph_open_ = true;
            ends_with_break_ = true;
        } else if (unit >= 0xD800 && unit <= 0xDBFF) {
            high_surrogate_ = unit;
            high_look_ = look;
        } else {
            character(unit, look);
        }
    }

    void end(const ParagraphLook& paragraph, bool) override {
        if (high_surrogate_) {
            character(0xFFFD, high_look_);
            high_surrogate_.reset();
        }
        // The mark that ends the last paragraph has already ended it; text
        // after the last mark is a paragraph of its own.
        if (paragraph_open_) end_paragraph(paragraph);
    }

    std::string html;

private:
    void character(char32_t code_point, const CharacterLook& look) {
        if (!span_look_ || !(*span_look_ == look)) {
            close_span();
            if (!(look == CharacterLook{})) {
                paragraph_ += "<span style=\"";
                paragraph_ += span_style(look);
                paragraph_ += "\">";
                span_open_ = true;
            }
            span_look_ = look;
        }
        append_text_character(paragraph_, rtf::shown_character(code_point, look));
        paragraph_open_ = true;
        ends_with_break_ = false;
    }

    void close_span() {
        if (span_open_) paragraph_ += "</span>";
        span_open_ = false;
        span_look_.reset();
    }

    // An empty paragraph, or one whose last line is empty, ends with a
    // line break of its own: HTML shows no line after a last <br>.
    void end_paragraph(const ParagraphLook& look) {
        close_span();
        const std::string style = paragraph_style(look);
        html += style.empty() ? "<p>" : "<p style=\"" + style + "\">";
        html += paragraph_;
        if (paragraph_.empty() || ends_with_break_) html += "<br>";
        html += "</p>";
        paragraph_.clear();
        paragraph_open_ = false;
        ends_with_break_ = false;
    }

    std::string paragraph_;  // the markup of the paragraph being written
    bool paragraph_open_ = false;
    bool ends_with_break_ = false;
    bool span_open_ = false;
    std::optional<CharacterLook> span_look_;  // the look of the characters last written in this paragraph
    std::optional<char16_t> high_surrogate_;
    CharacterLook high_look_;
};

}  // namespace

std::string rich_to_html(std::string_view text) {
    HtmlWriter writer;
    if (text.starts_with("{\\rtf")) {
        rtf::read_rich_text(text, &writer);
        return std::move(writer.html);
    }
    const ParagraphLook paragraph;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            writer.put(u'\r', plain_text_look, paragraph);
        } else {
            writer.put(static_cast<char16_t>(cp1252_to_unicode(byte)), plain_text_look, paragraph);
        }
    }
    writer.end(paragraph, false);
    return std::move(writer.html);
}

}  // namespace kz

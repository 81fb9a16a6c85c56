#pragma once
// The one reader of rich text (RTF as the rich-edit control writes it), shared
// by the conversions of rich_text.h: it gives the plain text that the control
// holds, and hands each character, in Unicode and with its look, to whoever
// asks for more than the plain text: the conversions of rich_text.h, and a
// front end that shows a text's characters itself (the terminal player).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kz::rtf {

// The kinds of font a document's font table names (\fnil, \froman, \fswiss,
// \fmodern, \fscript, \fdecor, \ftech), told from the font's family or
// from its name; fonts of the symbol character set are `symbol`.
enum class FontFamily : std::uint8_t { unknown, sans_serif, serif, monospace, script, decorative, symbol };
enum class Alignment : std::uint8_t { left, centre, right, justified };
enum class Baseline : std::uint8_t { normal, raised, lowered };

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Colour&) const = default;
};

// How a character is shown, as far as a page can show it. What the document
// leaves unset (no size, an unknown font, the automatic colour) is left to
// whoever shows the text.
struct CharacterLook {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    Baseline baseline = Baseline::normal;
    std::int32_t size = 0;  // half-points, 0 when unset
    FontFamily family = FontFamily::unknown;
    std::optional<Colour> colour;
    std::optional<Colour> background;  // the highlight, else the background colour

    bool operator==(const CharacterLook&) const = default;
};

// The paragraph a character belongs to, as the document sets it where the
// paragraph ends.
struct ParagraphLook {
    Alignment alignment = Alignment::left;
    std::int32_t left_indent = 0;  // twips
    std::int32_t right_indent = 0;
    std::int32_t first_line_indent = 0;

    bool operator==(const ParagraphLook&) const = default;
};

// Receives the characters of a document as the control holds them, before
// the system's code page narrows them: one UTF-16 unit at a time, a paragraph
// ending with '\r' and a line break being '\v', character for character the
// plain text, except that the mark ending the last paragraph is handed over
// too and `end` says whether the plain text left it out. `end` also gives the
// look of the paragraph that the document ends in.
class TextSink {
public:
    virtual void put(char16_t unit, const CharacterLook& look, const ParagraphLook& paragraph) = 0;
    virtual void end(const ParagraphLook& paragraph, bool last_mark_dropped) = 0;

protected:
    ~TextSink() = default;
};

// The state of the reader at the end of the last document header it read:
// the groups before any text that hold the font table, the colour table and
// the like, which the texts of one quiz repeat word for word. A document that
// begins with the same bytes is read from there. For the plain text only.
class HeaderMemo {
public:
    HeaderMemo();
    ~HeaderMemo();
    HeaderMemo(const HeaderMemo&) = delete;
    HeaderMemo& operator=(const HeaderMemo&) = delete;

    struct Saved;  // the reader's own
    std::unique_ptr<Saved> saved;
};

// The plain text of a document that begins with "{\rtf", in Windows-1252;
// with a sink, its characters are also handed to it.
std::string read_rich_text(std::string_view rtf, TextSink* sink = nullptr);
std::string read_rich_text(std::string_view rtf, HeaderMemo& memo);

// Whether that plain text is empty, found without reading the document
// further than where its text is known not to be.
bool rich_text_is_empty(std::string_view rtf, HeaderMemo* memo = nullptr);

// A character as a page or a terminal shows it. A character of a font of
// the symbol character set is a byte that the font draws as a sign of its
// own (a bullet, a Greek letter, an arrow): it is shown as that sign
// (symbol_font_sign), as the control shows it through the font, since a
// browser or a terminal may have no such font. A byte the Symbol font leaves
// undefined, or a character written by its Unicode value, stays as it is.
char32_t shown_character(char32_t code_point, const CharacterLook& look);

// A UTF-16 code unit as the control's ANSI interface gives it back: its
// Windows-1252 byte, its closest Western form, or "?".
unsigned char ansi_form(char16_t unit);

}  // namespace kz::rtf

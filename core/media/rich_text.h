#pragma once
// Rich text (RTF, as the rich-edit control writes it) to plain text: exactly the
// text that the rich-edit control holds for the same document, in
// Windows-1252. Every comparison of the exam is made on plain text. And rich
// text to HTML, for a page that shows it with its formatting.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quiz/quiz_model.h"

namespace kz {

// A text not beginning with "{\rtf" is returned unchanged.
std::string rich_to_plain(std::string_view text);

// rich_to_plain(text).empty(), without building the plain text: the
// questions' pools ask only this of most texts.
bool plain_text_is_empty(std::string_view text);

// The rich text as a fragment of HTML, for a page that shows the quiz's texts
// (questions, answers, prompts, comments, the welcome, help and end pages)
// with their formatting. The page puts the fragment in a block of its own
// styled "white-space: pre-wrap" (tabs and runs of blanks are kept as
// written), with no margin of its own on the paragraphs.
//
// Characters: the fragment is ASCII only, so that it is the same bytes read
// as Windows-1252 or as UTF-8. Every other character is a decimal character
// reference of its Unicode code point ("&#233;"; a surrogate pair as its one
// code point, a lone surrogate, U+0000 and the C1 controls that HTML would
// read as Windows-1252 characters as U+FFFD); "<", ">", "&" and '"' are
// written "&lt;", "&gt;", "&amp;", "&quot;"; a tab stays a tab.
//
// Markup: three elements, one attribute, a fixed set of properties.
//  - <p>: one per paragraph, nothing outside them. A paragraph that holds
//    nothing, or whose last line is empty, ends with a <br> that only keeps
//    that line's height, as HTML shows no line after a last <br>:
//    an empty paragraph is "<p><br></p>".
//  - <br>: a line break inside a paragraph (the control's line break, '\v'
//    of the plain text).
//  - <span>: a run of characters whose look is not the page's own; never
//    nested, never around a <br>.
//  - style, on <p>: text-align (center, right, justify), margin-left,
//    margin-right, text-indent (in points, from the document's twips); on
//    <span>: font-family (one of "Arial, Helvetica, sans-serif",
//    "'Times New Roman', Times, serif", "'Courier New', Courier, monospace",
//    "'Comic Sans MS', cursive", "Impact, fantasy", "Symbol", chosen by the
//    font's family class or a known face name, "Symbol" for fonts of the
//    symbol character set), font-size (points, 4 to 144, or "smaller"),
//    font-weight (bold), font-style (italic), text-decoration (underline,
//    line-through, or both), vertical-align (super, sub: with a font-size of
//    two thirds), color and background-color (#rrggbb from the colour table;
//    the automatic colour is the page's, so no property). Declarations are
//    "name:value" joined by ";". No value is ever taken from the text: no
//    font name, link, field instruction or other word of the document.
//
// Text: the text the fragment shows is the plain text. Paragraphs joined with
// '\r', each <br> but a paragraph's last as '\v', character references
// decoded and each character narrowed to Windows-1252 as rich_to_plain
// narrows it (a character outside the code page as its best fit or "?", each
// half of a surrogate pair as "?") give rich_to_plain(text) byte for byte;
// but for the characters of a font of the symbol character set (in a span
// of "font-family:Symbol"), which the fragment shows as the signs that the
// Symbol font draws for their bytes (symbol_font_sign: "•" for the byte
// 0xB7, "α" for "a"), as the control shows them through the font.
//
// A text not beginning with "{\rtf" is shown as the runner shows a plain
// text: 11-point black Arial without effects, each line a paragraph (a line
// ends with CR LF, CR or LF; a last line end ends the last line and begins
// none). What it shows is the text with its line ends as '\r', a last line
// end left out, and zero bytes as U+FFFD.
std::string rich_to_html(std::string_view text);

// A character typed into a field, as the rich-edit control's ANSI interface
// reads it back on a Western system: its Windows-1252 byte, its closest
// Western form ("α" as "a", "≤" as "="), or "?"; a character beyond U+FFFF,
// two UTF-16 halves in the control, as "??". For fields that are not the
// control's (a web page's) and must read as the runner's do.
std::string narrow_typed_character(char32_t code_point);

// A stretch of a rich text's characters in one bold and italic state.
struct StyledRun {
    std::u16string text;
    bool bold = false;
    bool italic = false;
};

// The characters of a rich text as the control holds them, in Unicode, before
// the system's code page narrows them: character for character the text of
// rich_to_plain (a paragraph ends with '\r', a line break is '\v'), with the
// characters that Windows-1252 lacks kept, cut into runs of one bold and
// italic state. A text not beginning with "{\rtf" is one plain run. Used
// where texts leave the system (question banks), never for comparisons.
std::vector<StyledRun> rich_to_runs(std::string_view text);

enum class QuestionText { question, answer, first_wrong, second_wrong, comment };

namespace rtf {
class HeaderMemo;
}

// The plain form of every question text of a quiz, each converted once, on
// first use, and kept for the life of the model. The model must outlive it.
// A question that the model does not hold has an empty text. The header that
// the texts of a quiz repeat is read once, not in every text.
class PlainTexts {
public:
    explicit PlainTexts(const QuizModel& model);
    ~PlainTexts();
    PlainTexts(const PlainTexts&) = delete;
    PlainTexts& operator=(const PlainTexts&) = delete;
    const std::string& of(std::size_t theme, std::size_t question, QuestionText which) const;
    // of(...).empty(), kept apart when the text itself is not needed.
    bool is_empty(std::size_t theme, std::size_t question, QuestionText which) const;

private:
    struct Slot {
        std::optional<std::string> text;
        std::optional<bool> empty;  // known before the text when only this was asked
    };
    Slot* slot(std::size_t theme, std::size_t question, QuestionText which) const;

    const QuizModel& model_;
    mutable std::vector<std::vector<Slot>> cache_;  // [theme][question * 5 + text]
    std::unique_ptr<rtf::HeaderMemo> headers_;
};

}  // namespace kz

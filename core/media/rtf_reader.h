#pragma once
// The one reader of rich text (RTF as the rich-edit control writes it), shared
// by the conversions of rich_text.h: it gives the plain text that the control
// holds, and hands each character, in Unicode and with its look, to whoever
// asks for more than the plain text. Internal to media/.
#include <memory>
#include <string>
#include <string_view>

namespace kz::rtf {

// How a character is shown, as far as the text's users need it.
struct CharacterLook {
    bool bold = false;
    bool italic = false;

    bool operator==(const CharacterLook&) const = default;
};

// Receives the characters of a document as the control holds them, before
// the system's code page narrows them: one UTF-16 unit at a time, a paragraph
// ending with '\r' and a line break being '\v', character for character the
// plain text, except that the mark ending the last paragraph is handed over
// too and `end` says whether the plain text left it out.
class TextSink {
public:
    virtual void put(char16_t unit, const CharacterLook& look) = 0;
    virtual void end(bool last_mark_dropped) = 0;

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

}  // namespace kz::rtf

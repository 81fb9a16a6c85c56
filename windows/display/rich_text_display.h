#pragma once
// Showing the quiz's texts in rich-edit controls: rich text (RTF) as written
// by the authoring product, plain text in the runner's default format, and
// characters of the special-characters palette set in their own font.
#include <windows.h>

#include <string>
#include <string_view>

namespace kz::win {

// Replaces the whole content of the rich-edit control with the text: as rich
// text when it begins with "{\rtf", otherwise as plain text in 11-point black
// Arial, without any effect, left-aligned, whatever the control showed before.
// The text is streamed from memory. False when the control refused the text;
// it then keeps what it showed.
bool show_rich_text(HWND dialog, int id, std::string_view text);

// Puts the characters, set in the font of that face at 10 points, at the
// control's selection, replacing it (or at the caret). The characters are
// bytes of that font's character set: for "Symbol", 'a' is the Greek alpha
// (the control then holds it as the symbol font's sign); for any other face
// they are Windows-1252 characters.
bool insert_symbol_text(HWND control, std::string_view chars, std::string_view face);

// The text of a rich-edit control, in Windows-1252, with CR LF line breaks:
// what the student typed or inserted into an answer box. A sign of a symbol
// font comes back as its byte (the Greek alpha of "Symbol" as 'a').
std::string rich_edit_text(HWND dialog, int id);

// The colour behind the text of a rich-edit control (pages give theirs the
// quiz's page colour).
void set_rich_background(HWND control, COLORREF colour);

}  // namespace kz::win

#pragma once
// Conversions between Windows-1252 (the encoding of every text in the core)
// and Unicode, used only at the edges: JSON sources, terminal output and the
// Win32 wide-character API.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kz {

// The Unicode code point of a Windows-1252 byte. The five bytes that the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of
// the same value, as Windows itself does.
char32_t cp1252_to_unicode(unsigned char byte);

// The Windows-1252 byte of a code point, or nothing when the code page has none.
std::optional<unsigned char> unicode_to_cp1252(char32_t code_point);

// The UTF-8 bytes of a code point (U+FFFD for one that Unicode has not).
void append_utf8(std::string& out, char32_t code_point);
// The length of the UTF-8 sequence at `i` and its code point in `code_point`;
// 0 when the bytes there are not UTF-8 (overlong forms and surrogates
// included).
std::size_t utf8_sequence(std::string_view utf8, std::size_t i, char32_t& code_point);

std::string cp1252_to_utf8(std::string_view text);
// Nothing when the text is not valid UTF-8 or holds a character outside
// Windows-1252.
std::optional<std::string> utf8_to_cp1252(std::string_view text);

std::u16string cp1252_to_utf16(std::string_view text);
// Characters outside Windows-1252 become '?'.
std::string utf16_to_cp1252(std::u16string_view text);

// The sign that the Symbol font shows for a byte (its published character
// set: 'a' is the Greek alpha, 0xA7 the club suit, 0xB7 the bullet), for a
// platform whose "Symbol" face lacks that character set; U+FFFD for the
// bytes it leaves undefined.
char32_t symbol_font_sign(unsigned char byte);

}  // namespace kz

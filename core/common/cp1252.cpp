#include "common/cp1252.h"

namespace kz {
namespace {

// Code points of bytes 0x80 to 0x9F; the other bytes are their own code point.
constexpr char32_t high_block[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char32_t cp1252_to_unicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return high_block[byte - 0x80];
    return byte;
}

std::optional<unsigned char> unicode_to_cp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; ++i)
        if (high_block[i] == cp) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t utf8_sequence(std::string_view utf8, std::size_t i, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t extra = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + extra >= utf8.size()) return 0;
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(utf8[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return 1 + extra;
}

std::string cp1252_to_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (unsigned char c : text) append_utf8(out, cp1252_to_unicode(c));
    return out;
}

std::optional<std::string> utf8_to_cp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8_sequence(text, i, cp);
        if (length == 0) return std::nullopt;
        i += length;
        const auto byte = unicode_to_cp1252(cp);
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
    }
    return out;
}

std::u16string cp1252_to_utf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (unsigned char c : text) out += static_cast<char16_t>(cp1252_to_unicode(c));
    return out;
}

std::string utf16_to_cp1252(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        const auto byte = unicode_to_cp1252(cp);
        out += byte ? static_cast<char>(*byte) : '?';
    }
    return out;
}

char32_t symbol_font_sign(unsigned char byte) {
    // Bytes 0x20 to 0x7E: the ASCII signs but for these, and the Greek
    // letters on the Latin ones.
    static constexpr char32_t low[0x5F] = {
        U' ',  U'!',  U'\u2200', U'#',  U'\u2203', U'%',  U'&',  U'\u220B', U'(',  U')',  U'\u2217', U'+',
        U',',  U'\u2212', U'.',  U'/',  U'0',  U'1',  U'2',  U'3',  U'4',  U'5',  U'6',  U'7',
        U'8',  U'9',  U':',  U';',  U'<',  U'=',  U'>',  U'?',  U'\u2245', U'\u0391', U'\u0392', U'\u03A7',
        U'\u0394', U'\u0395', U'\u03A6', U'\u0393', U'\u0397', U'\u0399', U'\u03D1', U'\u039A', U'\u039B', U'\u039C', U'\u039D', U'\u039F',
        U'\u03A0', U'\u0398', U'\u03A1', U'\u03A3', U'\u03A4', U'\u03A5', U'\u03C2', U'\u03A9', U'\u039E', U'\u03A8', U'\u0396', U'[',
        U'\u2234', U']',  U'\u22A5', U'_',  U'\u203E', U'\u03B1', U'\u03B2', U'\u03C7', U'\u03B4', U'\u03B5', U'\u03C6', U'\u03B3',
        U'\u03B7', U'\u03B9', U'\u03D5', U'\u03BA', U'\u03BB', U'\u03BC', U'\u03BD', U'\u03BF', U'\u03C0', U'\u03B8', U'\u03C1', U'\u03C3',
        U'\u03C4', U'\u03C5', U'\u03D6', U'\u03C9', U'\u03BE', U'\u03C8', U'\u03B6', U'{',  U'|',  U'}',  U'\u223C'};
    // Bytes 0xA0 to 0xFF: mathematical signs, arrows, card suits and the
    // pieces of large brackets.
    static constexpr char32_t high[0x60] = {
        U'\u20AC', U'\u03D2', U'\u2032', U'\u2264', U'\u2044', U'\u221E', U'\u0192', U'\u2663', U'\u2666', U'\u2665', U'\u2660', U'\u2194',
        U'\u2190', U'\u2191', U'\u2192', U'\u2193', U'\u00B0', U'\u00B1', U'\u2033', U'\u2265', U'\u00D7', U'\u221D', U'\u2202', U'\u2022',
        U'\u00F7', U'\u2260', U'\u2261', U'\u2248', U'\u2026', U'\u23D0', U'\u23AF', U'\u21B5', U'\u2135', U'\u2111', U'\u211C', U'\u2118',
        U'\u2297', U'\u2295', U'\u2205', U'\u2229', U'\u222A', U'\u2283', U'\u2287', U'\u2284', U'\u2282', U'\u2286', U'\u2208', U'\u2209',
        U'\u2220', U'\u2207', U'\u00AE', U'\u00A9', U'\u2122', U'\u220F', U'\u221A', U'\u22C5', U'\u00AC', U'\u2227', U'\u2228', U'\u21D4',
        U'\u21D0', U'\u21D1', U'\u21D2', U'\u21D3', U'\u25CA', U'\u2329', U'\u00AE', U'\u00A9', U'\u2122', U'\u2211', U'\u239B', U'\u239C',
        U'\u239D', U'\u23A1', U'\u23A2', U'\u23A3', U'\u23A7', U'\u23A8', U'\u23A9', U'\u23AA', U'\uFFFD', U'\u232A', U'\u222B', U'\u2320',
        U'\u23AE', U'\u2321', U'\u239E', U'\u239F', U'\u23A0', U'\u23A4', U'\u23A5', U'\u23A6', U'\u23AB', U'\u23AC', U'\u23AD', U'\uFFFD'};
    if (byte >= 0x20 && byte <= 0x7E) return low[byte - 0x20];
    if (byte >= 0xA0) return high[byte - 0xA0];
    return U'\uFFFD';
}

}  // namespace kz

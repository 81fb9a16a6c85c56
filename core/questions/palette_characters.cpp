#include "questions/palette_characters.h"

#include "res/string_table.h"

namespace kz {
namespace {

// Accented letters of the Western European languages; Ù and ü appear twice.
constexpr std::string_view international =
    "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xE7\xC7"
    "\xE8\xE9\xEA\xEB\xC8\xC9\xCA\xCB\xEC\xED\xEE\xEF\xCC\xCD\xCE\xCF"
    "\xF1\xD1\xF2\xF3\xF4\xF5\xF6\xD2\xD3\xD4\xD5\xD6\x9C\x8C\x9A\x8A"
    "\xF9\xFA\xFB\xFC\xD9\xD9\xDA\xDB\xDC\xFC\xFF\xDD\xDF";

// Bytes whose signs in the Symbol font are the mathematical ones: for all,
// there exists, perpendicular, similar, plus-minus ... integral (the subset
// sign 0xCD appears twice).
constexpr std::string_view mathematics =
    "\x22\x24\x5E\x7E\xB1\xA2\xA3\xB3\xA5\xA6\xAB\xAC\xAD\xAE\xAF\xB4"
    "\xB7\xB8\xB6\xB2\xB9\xBA\xBB\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC"
    "\xCD\xCD\xCE\xCF\xD5\xE5\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xF2";

// In the Symbol font the Latin letters show the Greek capitals and small
// letters: each capital followed by its small letter.
constexpr std::string_view greek = "AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz";

// Currency, legal and typographic signs.
constexpr std::string_view symbols =
    "\x80$\xA3\xA5\x99\xA9\xAE\xA1\xBF\xB6\xB5\xAB\xBB\xBC\xBD\xBE\xB9\xB2\xB3";

// Clubs, diamonds, hearts and spades in the Symbol font.
constexpr std::string_view card_suits = "\xA7\xA8\xA9\xAA";

static_assert(international.size() == 61);
static_assert(mathematics.size() == 46);
static_assert(greek.size() == 52);
static_assert(symbols.size() == 19);
static_assert(card_suits.size() == 4);

constexpr std::array<PaletteCategory, palette_category_count> categories{{
    {str::palette_first_category + 0, "Arial", international},
    {str::palette_first_category + 1, "Symbol", mathematics},
    {str::palette_first_category + 2, "Symbol", greek},
    {str::palette_first_category + 3, "Arial", symbols},
    {str::palette_first_category + 4, "Symbol", card_suits},
}};

}  // namespace

const std::array<PaletteCategory, palette_category_count>& palette_categories() { return categories; }

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

std::string palette_category_name(std::size_t index) {
    if (index >= palette_category_count) return {};
    return load_message(categories[index].name_string);
}

}  // namespace kz

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

std::string palette_category_name(std::size_t index) {
    if (index >= palette_category_count) return {};
    return load_message(categories[index].name_string);
}

}  // namespace kz

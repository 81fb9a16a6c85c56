// The special-characters palette's categories: names, fonts and the bytes
// each category lists.
#include "questions/palette_characters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kz {
namespace {

TEST(PaletteCategories, ListTheirNamesFontsAndCharacterCounts) {
    const struct {
        std::string name;
        std::string font;
        std::size_t count;
    } rows[] = {
        {"International", "Arial", 61},
        {"Math\xE9matiques", "Symbol", 46},
        {"Grecque", "Symbol", 52},
        {"Symboles", "Arial", 19},
        {"Jeu de cartes", "Symbol", 4},
    };
    const auto& categories = palette_categories();
    for (std::size_t i = 0; i < categories.size(); ++i) {
        EXPECT_EQ(palette_category_name(i), rows[i].name);
        EXPECT_EQ(categories[i].font, rows[i].font) << rows[i].name;
        EXPECT_EQ(categories[i].characters.size(), rows[i].count) << rows[i].name;
    }
    EXPECT_EQ(palette_category_name(5), "");
}

TEST(PaletteCategories, HoldTheExactBytesDuplicatesIncluded) {
    const auto& c = palette_categories();
    const std::string_view international = c[0].characters;
    EXPECT_EQ(international.substr(0, 7), "\xE0\xE1\xE2\xE3\xE4\xE5\xE6");
    EXPECT_EQ(international[17], '\xE9');
    EXPECT_EQ(international.substr(44, 4), "\x9C\x8C\x9A\x8A");
    EXPECT_EQ(international.back(), '\xDF');
    EXPECT_EQ(std::count(international.begin(), international.end(), '\xD9'), 2);
    EXPECT_EQ(std::count(international.begin(), international.end(), '\xFC'), 2);

    const std::string_view mathematics = c[1].characters;
    EXPECT_EQ(mathematics.substr(0, 4), "\"$^~");
    EXPECT_EQ(mathematics.substr(32, 2), "\xCD\xCD");
    EXPECT_EQ(mathematics.back(), '\xF2');

    std::string greek;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        greek += static_cast<char>(letter - 32);
        greek += letter;
    }
    EXPECT_EQ(c[2].characters, greek);

    EXPECT_EQ(c[3].characters, "\x80$\xA3\xA5\x99\xA9\xAE\xA1\xBF\xB6\xB5\xAB\xBB\xBC\xBD\xBE\xB9\xB2\xB3");
    EXPECT_EQ(c[4].characters, "\xA7\xA8\xA9\xAA");
}

TEST(PaletteCategories, OpenOnSymbolsWithTheEuroFirst) {
    EXPECT_EQ(palette_category_name(palette_opening_category), "Symboles");
    EXPECT_EQ(palette_categories()[palette_opening_category].characters.front(), '\x80');
}

// Where the "Symbol" face lacks its own character set, the palette shows the
// signs its bytes stand for: the signs the student would see in that font.
TEST(PaletteCategories, SymbolBytesStandForTheSignsOfTheSymbolFont) {
    const auto& c = palette_categories();
    const struct {
        std::string_view bytes;
        std::u32string signs;
    } rows[] = {
        {c[1].characters,
         U"\u2200\u2203\u22A5\u223C\u00B1\u2032\u2264\u2265\u221E\u0192\u2194\u2190\u2191\u2192\u2193\u00D7"
         U"\u2022\u00F7\u2202\u2033\u2260\u2261\u2248\u2297\u2295\u2205\u2229\u222A\u2283\u2287\u2284\u2282"
         U"\u2286\u2286\u2208\u2209\u220F\u2211\u2227\u2228\u21D4\u21D0\u21D1\u21D2\u21D3\u222B"},
        {c[2].characters,
         U"\u0391\u03B1\u0392\u03B2\u03A7\u03C7\u0394\u03B4\u0395\u03B5\u03A6\u03C6\u0393\u03B3\u0397\u03B7"
         U"\u0399\u03B9\u03D1\u03D5\u039A\u03BA\u039B\u03BB\u039C\u03BC\u039D\u03BD\u039F\u03BF\u03A0\u03C0"
         U"\u0398\u03B8\u03A1\u03C1\u03A3\u03C3\u03A4\u03C4\u03A5\u03C5\u03C2\u03D6\u03A9\u03C9\u039E\u03BE"
         U"\u03A8\u03C8\u0396\u03B6"},
        {c[4].characters, U"\u2663\u2666\u2665\u2660"},
    };
    for (const auto& row : rows) {
        std::u32string signs;
        for (const char byte : row.bytes) signs += symbol_font_sign(static_cast<unsigned char>(byte));
        EXPECT_EQ(signs, row.signs);
    }
    EXPECT_EQ(symbol_font_sign(0x7F), U'\uFFFD');
}

}  // namespace
}  // namespace kz

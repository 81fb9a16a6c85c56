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

}  // namespace
}  // namespace kz

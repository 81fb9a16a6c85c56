#pragma once
// The characters that the special-characters palette offers, by category:
// the category's name, the font in which its characters are shown and
// inserted, and the characters themselves (one byte each, in list order).
#include <array>
#include <string>
#include <string_view>

#include "common/cp1252.h"  // symbol_font_sign, for the categories in the Symbol font

namespace kz {

struct PaletteCategory {
    int name_string;             // the category's name in the string table
    std::string_view font;       // the face in which the bytes show their signs
    std::string_view characters; // one list entry per byte, duplicates kept
};

inline constexpr std::size_t palette_category_count = 5;
// The palette opens on "Symboles", with the euro sign first.
inline constexpr std::size_t palette_opening_category = 3;

const std::array<PaletteCategory, palette_category_count>& palette_categories();

// The category's name, as the palette's combo box lists it.
std::string palette_category_name(std::size_t index);


}  // namespace kz

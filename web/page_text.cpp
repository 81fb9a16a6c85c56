#include "page_text.h"

#include <cstdio>
#include <map>

#include "common/cp1252.h"
#include "media/rich_text.h"
#include "questions/palette_characters.h"

namespace kz::web {
namespace {

// The byte that the palette inserts for each sign of its Symbol categories
// that Windows-1252 lacks.
const std::map<char32_t, unsigned char>& palette_bytes() {
    static const std::map<char32_t, unsigned char> bytes = [] {
        std::map<char32_t, unsigned char> signs;
        for (const PaletteCategory& category : palette_categories()) {
            if (category.font != "Symbol") continue;
            for (const char c : category.characters) {
                const auto byte = static_cast<unsigned char>(c);
                const char32_t sign = symbol_font_sign(byte);
                if (!unicode_to_cp1252(sign)) signs.emplace(sign, byte);
            }
        }
        return signs;
    }();
    return bytes;
}

}  // namespace

std::string to_page(std::string_view cp1252) { return cp1252_to_utf8(cp1252); }

std::string from_page(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code_point = 0;
        const std::size_t length = utf8_sequence(utf8, i, code_point);
        if (length == 0) {
            // Not UTF-8 (a lone surrogate that a script let through).
            out += '?';
            ++i;
            continue;
        }
        i += length;
        if (code_point == 0) continue;
        if (const auto byte = unicode_to_cp1252(code_point)) {
            out += static_cast<char>(*byte);
        } else if (const auto found = palette_bytes().find(code_point); found != palette_bytes().end()) {
            out += static_cast<char>(found->second);
        } else {
            out += narrow_typed_character(code_point);
        }
    }
    return out;
}

}  // namespace kz::web

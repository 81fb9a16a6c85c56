#pragma once
// Texts between the core (Windows-1252) and the page (UTF-8), and the small
// JSON the page reads.
#include <string>
#include <string_view>

namespace kz::web {

// A core text for the page.
std::string to_page(std::string_view cp1252);

// A text the student typed, as the Windows runner reads it from its fields:
// each character in Windows-1252, or its closest Western form, or "?". A
// sign of the special-characters palette's Symbol categories (a Greek
// letter, a mathematical sign, a card suit) gives back the byte that the
// palette inserts for it, as the runner's fields keep that byte.
std::string from_page(std::string_view utf8);

}  // namespace kz::web

#pragma once
// What a self-contained page (a quiz's web page, the class report) needs to
// carry bytes, to allow its own scripts and to hold texts: Base64, the
// SHA-256 digests that a Content-Security-Policy names its scripts by, and
// escaped markup.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kz {

std::string base64(std::string_view bytes);

std::array<std::uint8_t, 32> sha256(std::string_view bytes);

// "'sha256-...'": the source expression that allows an inline script of
// exactly these bytes.
std::string csp_hash_source(std::string_view script);

// A text for the content or a quoted attribute of an HTML or XML element:
// "&", "<", ">", '"' and "'" escaped, control characters but the tab left
// out (XML has none).
std::string markup_text(std::string_view text);

}  // namespace kz

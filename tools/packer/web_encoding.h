#pragma once
// What a self-contained page needs to carry bytes and to allow its own
// scripts: Base64, and the SHA-256 digests that a Content-Security-Policy
// names its scripts by.
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

}  // namespace kz

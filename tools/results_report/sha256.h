#pragma once
// SHA-256 (FIPS 180-4), for the page's security policy: the browser runs
// the report's own script only when its text has the digest that the policy
// names, so that no other script could ever run in the page.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kz::report {

std::array<std::uint8_t, 32> sha256(std::string_view bytes);

// The digest in base64, as a policy's 'sha256-...' source names it.
std::string sha256_base64(std::string_view bytes);

}  // namespace kz::report

// Hostile rich texts: the converter must read any bytes without crashing,
// looping or reading outside the text, and its output must stay within what
// the document holds. The page's HTML of the text must be ASCII, hold only
// the allowed markup and show the plain text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "media/rich_text.h"
#include "shared/rich_html_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string plain = kz::rich_to_plain(input);
    // The HTML's bytes are checked by the strict reader: printable ASCII and
    // tabs only, p, span and br with their allowed styles, nothing else.
    const kz::PageFragment fragment = kz::read_page_fragment(kz::rich_to_html(input));
    if (!fragment.error.empty()) __builtin_trap();
    const std::string expected = kz::text_a_fragment_shows(input);
    if (kz::narrowed_as_plain_text(fragment, expected) != expected) __builtin_trap();
    if (!input.starts_with("{\\rtf")) {
        if (plain != input) __builtin_trap();
        return 0;
    }
    // Every character of the plain text comes from at least one byte of the
    // document, and no zero byte is ever given back.
    if (plain.size() > input.size()) __builtin_trap();
    if (plain.find('\0') != std::string::npos) __builtin_trap();
    if (kz::plain_text_is_empty(input) != plain.empty()) __builtin_trap();
    // The styled runs hold the same characters, before their narrowing.
    std::size_t units = 0;
    for (const auto& run : kz::rich_to_runs(input)) units += run.text.size();
    if (units != plain.size()) __builtin_trap();
    return 0;
}

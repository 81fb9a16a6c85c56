// The one UTF-8 codec of the program (core/common/cp1252.h), which the
// front ends use at their edges: what is UTF-8 and what is not, and what is
// written for a code point.
#include <gtest/gtest.h>

#include <string>

#include "common/cp1252.h"

namespace kz {
namespace {

TEST(Utf8Sequence, ReadsUtf8AndRefusesEverythingElse) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t at;
        std::size_t length;  // 0: not UTF-8 there
        char32_t code_point;
    };
    const Case cases[] = {
        {"ASCII", "a", 0, 1, U'a'},
        {"two bytes", "\xC3\xA9", 0, 2, U'\u00E9'},
        {"three bytes", "\xE2\x82\xAC", 0, 3, U'\u20AC'},
        {"four bytes", "\xF0\x9F\x98\x80", 0, 4, U'\U0001F600'},
        {"the last code point", "\xF4\x8F\xBF\xBF", 0, 4, U'\U0010FFFF'},
        {"a sequence after others", "a\xC3\xA9", 1, 2, U'\u00E9'},
        {"a cut sequence", "\xE2\x82", 0, 0, 0},
        {"a continuation byte alone", "\x80", 0, 0, 0},
        {"a lead byte before ASCII", "\xC3" "a", 0, 0, 0},
        {"overlong two bytes", "\xC0\xAF", 0, 0, 0},
        {"overlong three bytes", "\xE0\x80\xAF", 0, 0, 0},
        {"overlong four bytes", "\xF0\x80\x80\xAF", 0, 0, 0},
        {"the first surrogate", "\xED\xA0\x80", 0, 0, 0},
        {"the last surrogate", "\xED\xBF\xBF", 0, 0, 0},
        {"just below the surrogates", "\xED\x9F\xBF", 0, 3, U'\uD7FF'},
        {"past Unicode", "\xF4\x90\x80\x80", 0, 0, 0},
        {"a lead byte of no sequence", "\xF8\x88\x80\x80\x80", 0, 0, 0},
    };
    for (const auto& c : cases) {
        char32_t code_point = 0;
        const std::size_t length = utf8_sequence(c.bytes, c.at, code_point);
        EXPECT_EQ(length, c.length) << c.name;
        if (c.length != 0) {
            EXPECT_EQ(code_point, c.code_point) << c.name;
        }
    }
}

TEST(AppendUtf8, WritesEachCodePointAndReplacesWhatUnicodeHasNot) {
    struct Case {
        const char* name;
        char32_t code_point;
        std::string bytes;
    };
    const Case cases[] = {
        {"ASCII", U'a', "a"},
        {"the last of two bytes", U'\u07FF', "\xDF\xBF"},
        {"the first of three bytes", U'\u0800', "\xE0\xA0\x80"},
        {"the first of four bytes", U'\U00010000', "\xF0\x90\x80\x80"},
        {"the last code point", U'\U0010FFFF', "\xF4\x8F\xBF\xBF"},
        {"a high surrogate", 0xD800, "\xEF\xBF\xBD"},
        {"a low surrogate", 0xDFFF, "\xEF\xBF\xBD"},
        {"past Unicode", 0x110000, "\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        std::string out = "<";
        append_utf8(out, c.code_point);
        EXPECT_EQ(out, "<" + c.bytes) << c.name;
    }
}

}  // namespace
}  // namespace kz

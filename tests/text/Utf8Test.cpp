#include "text/Utf8.h"

#include <gtest/gtest.h>
#include <string>

TEST(DecodeUtf8, TakesWellFormedSequencesOnly)
{
    struct Case {
        const char *what;
        std::string text;
        char32_t codePoint; // where well-formed
        std::size_t length; // 0: not well-formed
    };
    const Case cases[] = {
        {"one byte", "A", U'A', 1},
        {"two bytes", "\xC3\xA9x", U'\u00E9', 2},
        {"three bytes", "\xE2\x82\xAC", U'\u20AC', 3},
        {"four bytes", "\xF0\x9F\x98\x80", U'\U0001F600', 4},
        {"highest code point", "\xF4\x8F\xBF\xBF", U'\U0010FFFF', 4},
        {"last before the surrogates", "\xED\x9F\xBF", U'\uD7FF', 3},
        {"overlong two bytes", "\xC0\xAF", 0, 0},
        {"overlong three bytes", "\xE0\x80\xAF", 0, 0},
        {"overlong four bytes", "\xF0\x80\x80\xAF", 0, 0},
        {"surrogate D800", "\xED\xA0\x80", 0, 0},
        {"surrogate DFFF", "\xED\xBF\xBF", 0, 0},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", 0, 0},
        {"lead beyond F4", "\xF5\x80\x80\x80", 0, 0},
        {"truncated", "\xE2\x82", 0, 0},
        {"continuation missing", "\xE2\x82x", 0, 0},
        {"lone continuation", "\x80", 0, 0},
        {"empty", "", 0, 0},
    };
    for (const Case &c : cases) {
        const TUtf8Char decoded = DecodeUtf8(c.text);
        EXPECT_EQ(decoded.Length, c.length) << c.what;
        if (c.length != 0) {
            EXPECT_EQ(decoded.CodePoint, c.codePoint) << c.what;
        }
    }
}

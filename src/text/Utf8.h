#pragma once
// The one UTF-8 decoder of the program. Well-formed means what the Unicode standard says: the
// shortest form only, no surrogates (U+D800..U+DFFF), nothing beyond U+10FFFF, no sequence cut
// short. What to make of anything else (a replacement character, another code page) is the
// caller's choice.

#include <cstddef>
#include <string_view>

struct TUtf8Char {
    char32_t CodePoint;
    std::size_t Length; // bytes taken; 0 where text does not start with a well-formed sequence
};

// The character at the front of text.
constexpr TUtf8Char DecodeUtf8(std::string_view text)
{
    if (text.empty())
        return {0, 0};
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80)
        return {lead, 1};
    // Leads C0, C1 and F5..FF only begin overlong forms or code points beyond U+10FFFF.
    const std::size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || text.size() < length)
        return {0, 0};
    // The second byte's range rules out the overlong forms of E0 and F0, the surrogates of ED and
    // the code points beyond U+10FFFF of F4.
    const auto second = static_cast<unsigned char>(text[1]);
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high)
        return {0, 0};
    char32_t codePoint = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return {0, 0};
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    return {codePoint, length};
}

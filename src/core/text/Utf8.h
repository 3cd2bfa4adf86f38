#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The one place that knows how UTF-8 is built: continuation bytes, reading a character,
// writing a code point.

namespace hv {

// The Unicode replacement character, for what is no character.
constexpr char32_t kReplacementChar = 0xFFFD;

// True for the bytes 0x80..0xBF, which continue a character and never start one.
inline bool IsUtf8Continuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}
inline bool IsUtf8Continuation(char c) {
    return IsUtf8Continuation(static_cast<unsigned char>(c));
}

// Length of the well-formed UTF-8 sequence at p (1..4, at most avail bytes) and its code point,
// or 0 when the byte at p does not start one: the ranges of the Unicode standard's table of
// well-formed byte sequences, so no overlong form, no surrogate, nothing above U+10FFFF.
inline std::size_t Utf8SequenceAt(const std::uint8_t* p, std::size_t avail, char32_t& cp) {
    const std::uint8_t b0 = p[0];
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    if (b0 < 0xC2) {
        return 0;
    }
    if (b0 < 0xE0) {
        if (avail < 2 || !IsUtf8Continuation(p[1])) {
            return 0;
        }
        cp = (char32_t(b0 & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (b0 < 0xF0) {
        const std::uint8_t lo = b0 == 0xE0 ? 0xA0 : 0x80; // no overlongs
        const std::uint8_t hi = b0 == 0xED ? 0x9F : 0xBF; // no surrogates
        if (avail < 3 || p[1] < lo || p[1] > hi || !IsUtf8Continuation(p[2])) {
            return 0;
        }
        cp = (char32_t(b0 & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return 3;
    }
    if (b0 < 0xF5) {
        const std::uint8_t lo = b0 == 0xF0 ? 0x90 : 0x80; // no overlongs
        const std::uint8_t hi = b0 == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
        if (avail < 4 || p[1] < lo || p[1] > hi || !IsUtf8Continuation(p[2]) || !IsUtf8Continuation(p[3])) {
            return 0;
        }
        cp = (char32_t(b0 & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        return 4;
    }
    return 0;
}

// The same on text at position pos (< text.size()).
inline std::size_t Utf8SequenceAt(std::string_view text, std::size_t pos, char32_t& cp) {
    return Utf8SequenceAt(reinterpret_cast<const std::uint8_t*>(text.data()) + pos, text.size() - pos, cp);
}

// Writes cp as UTF-8 into out (room for four bytes) and returns the length; a surrogate or a
// value above U+10FFFF is written as U+FFFD.
std::size_t EncodeUtf8Char(char32_t cp, char* out);

// Appends cp as UTF-8 (a surrogate or a value above U+10FFFF as U+FFFD).
void AppendUtf8(std::string& out, char32_t cp);

} // namespace hv

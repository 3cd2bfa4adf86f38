#pragma once

#include <string>
#include <string_view>

// Full-width forms, as the Windows "full-width" mapping gives them: ASCII 0x21..0x7E to
// U+FF01..U+FF5E, and half-width katakana to full-width katakana with a following voiced or
// semi-voiced sound mark composed into the character where one exists.
namespace hv {

// The full-width form of an ASCII character 0x21..0x7E; other characters are returned unchanged.
char32_t FullWidthAscii(char32_t c);

// The UTF-8 of the full-width form of c (see FullWidthAscii).
std::string FullWidthAsciiUtf8(char c);

// Every half-width katakana (U+FF61..U+FF9F) of the UTF-8 text replaced by its full-width form;
// a sound mark that cannot be composed becomes the full-width mark of its own.
std::string WidenHalfWidthKatakana(std::string_view utf8);

} // namespace hv

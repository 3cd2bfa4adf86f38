#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Small text helpers on the program's UTF-8 strings.

namespace hv {

// 'A'..'Z' to 'a'..'z'; every other byte unchanged.
inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
std::string AsciiLowerCase(std::string_view s);

// Compares with ASCII letters folded to upper case (as the Windows CompareText does, so "_" sorts
// after letters) and every other byte as an unsigned value; a proper prefix is smaller.
// Returns < 0, 0 or > 0.
int AsciiCompareText(std::string_view a, std::string_view b);
bool AsciiSameText(std::string_view a, std::string_view b);

// s without the blanks and TABs at either end (the way INI-like files trim keys and values).
std::string_view TrimBlanksAndTabs(std::string_view s);
// s without the blanks (spaces only) at either end.
std::string_view TrimSpaces(std::string_view s);

// For one-line values from outside (names, URLs, schedules, command lines): CR, LF and TAB become
// a blank and every other character below 32 is removed, so the value can hold no line break.
std::string SanitizeLine(std::string_view s);

// Removes every character below 32.
std::string StripControlChars(std::string_view s);

// Number of code points of valid UTF-8 (continuation bytes are not counted).
std::size_t Utf8Length(std::string_view s);

// The first maxChars code points of s; a character is never cut.
std::string Utf8Truncate(std::string_view s, std::size_t maxChars);

} // namespace hv

#pragma once

#include <string>
#include <string_view>

// Character references of HTML ("&amp;", "&#38;", "&#x26;") turned into the characters a browser
// shows for them.

namespace hv {

// Where the text stood: attribute values keep a legacy reference without ";" that is followed
// by a letter, a digit or "=" as written ("?a=1&copy=2" stays an address, not "©=2").
enum class TCharRefContext { Text, Attribute };

// Decodes every character reference of s the way HTML does: named references (the longest known
// name wins; the legacy names also without ";"), decimal and hexadecimal ones (";" optional).
// A number of 0, above U+10FFFF or of a surrogate gives U+FFFD; 0x80..0x9F are read as
// windows-1252, as browsers do. A "&" that starts no known reference stays as written.
std::string DecodeCharRefs(std::string_view s, TCharRefContext context = TCharRefContext::Text);

// "&#NNN;" with the decimal code point.
std::string NumericCharRef(char32_t cp);

} // namespace hv

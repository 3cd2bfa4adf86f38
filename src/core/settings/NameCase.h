#pragma once

#include <string>
#include <string_view>

namespace hv {

// The lower-case form of a name, for comparisons that ignore letter case: ASCII letters directly,
// every other letter through the Unicode lower-case mapping (not tied to the user's language, so
// "I" never becomes a dotless "ı").
std::string LowerName(std::string_view name);

// True when both names are equal after LowerName; the comparison of registry key and value
// names and of settings keys.
bool SameName(std::string_view a, std::string_view b);

} // namespace hv

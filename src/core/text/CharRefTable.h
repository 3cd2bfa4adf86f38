#pragma once

#include <span>
#include <string_view>

namespace hv {

struct TCharRefEntry {
    std::string_view Name;  // "amp;", or "amp" for the legacy form without the semicolon
    std::string_view Value; // UTF-8, one or two characters
};

// Every named character reference of HTML, sorted by name in byte order.
std::span<const TCharRefEntry> CharRefTable();

} // namespace hv

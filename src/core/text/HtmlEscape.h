#pragma once

#include <string>
#include <string_view>

namespace hv {

// The HTML escaping of the exports: "&" to "&amp;", then the double quote to "&quot;", "<" to
// "&lt;" and ">" to "&gt;". Nothing else changes (UTF-8 never has these bytes inside a character).
std::string EscapeHtml(std::string_view s);
// The same, appended to out.
void AppendEscapedHtml(std::string& out, std::string_view s);

} // namespace hv

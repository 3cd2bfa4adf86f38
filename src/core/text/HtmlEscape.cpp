#include "text/HtmlEscape.h"

namespace hv {

void AppendEscapedHtml(std::string& out, std::string_view s) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        std::string_view replacement;
        switch (s[i]) {
        case '&':
            replacement = "&amp;";
            break;
        case '"':
            replacement = "&quot;";
            break;
        case '<':
            replacement = "&lt;";
            break;
        case '>':
            replacement = "&gt;";
            break;
        default:
            continue;
        }
        out.append(s.substr(runStart, i - runStart));
        out.append(replacement);
        runStart = i + 1;
    }
    out.append(s.substr(runStart));
}

std::string EscapeHtml(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    AppendEscapedHtml(out, s);
    return out;
}

} // namespace hv

#include "launch/CommandLine.h"

#include "text/TextUtil.h"

#include <array>

namespace hv {

bool IsWebAddress(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    static constexpr std::array<std::string_view, 4> kWebSchemes = {"http", "https", "ftp", "gopher"};
    const std::string_view scheme = text.substr(0, colon);
    for (std::string_view web : kWebSchemes) {
        if (AsciiSameText(scheme, web)) {
            return true;
        }
    }
    return false;
}

std::optional<TCommandLineParts> SplitCommandLine(std::string_view text) {
    TCommandLineParts parts;
    if (text.starts_with('"')) {
        std::size_t pos = 1;
        for (;;) {
            const std::size_t quote = text.find('"', pos);
            if (quote == std::string_view::npos) {
                return std::nullopt; // the quote is never closed
            }
            parts.Program.append(text.substr(pos, quote - pos));
            if (quote + 1 < text.size() && text[quote + 1] == '"') {
                parts.Program += '"';
                pos = quote + 2;
                continue;
            }
            pos = quote + 1;
            break;
        }
        if (pos < text.size()) {
            if (text[pos] != ' ') {
                return std::nullopt;
            }
            parts.Parameters = std::string(text.substr(pos + 1));
        }
    } else {
        const std::size_t blank = text.find(' ');
        parts.Program = std::string(text.substr(0, blank));
        if (blank != std::string_view::npos) {
            parts.Parameters = std::string(text.substr(blank + 1));
        }
    }
    if (parts.Program.empty()) {
        return std::nullopt;
    }
    return parts;
}

} // namespace hv

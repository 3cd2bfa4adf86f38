#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hv {

// Whether text is a web address: its scheme (the part before the first ':') is http, https, ftp
// or gopher, ASCII letters compared case-insensitively. Anything else is a command line.
bool IsWebAddress(std::string_view text);

// A command line taken apart into its program and the parameters after it.
struct TCommandLineParts {
    std::string Program;
    std::string Parameters;
};

// A text beginning with '"' names its program in quotes ("" inside stands for one quote), and
// the quote must be followed by a blank or the end; otherwise the program runs to the first
// blank. nullopt when the quotes do not work out or the program is empty.
std::optional<TCommandLineParts> SplitCommandLine(std::string_view text);

} // namespace hv

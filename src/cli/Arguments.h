#pragma once

#include "Command.h"

#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hv::cli {

struct TOption {
    std::string_view Name; // with the dashes: "--password"
    bool TakesValue = false;
};

struct TParsedArgs {
    std::vector<std::string> Positional;
    // Each option given, with its value ("" for a flag); a repeated option keeps its last value.
    std::map<std::string, std::string, std::less<>> Options;

    bool Has(std::string_view name) const { return Options.contains(name); }
    std::optional<std::string> Value(std::string_view name) const;
};

// Splits a command's arguments into options and positional arguments. Options may stand
// anywhere, as "--name value" or "--name=value"; "--" ends the options; "-" and negative
// numbers ("-1") are positional.
// Each option whose name ends in "password" and takes a value (a secret) may come instead as
// "--NAME-file FILE", the first line of FILE; "--password" itself, when neither is given, comes
// from $HOLLYVINE_PASSWORD. The command line wins over the file, the file over the variable. An
// unreadable file is reported and ends the command (1).
// "--help" or "-h" prints the command's help. Returns the exit code to end the command with
// when it must not go on (help shown: 0; unknown option, missing value or a count of
// positional arguments outside [minPositional, maxPositional]: usage error, 2).
std::optional<int> ParseArgs(TCommandArgs args, const TCommandInfo& command, std::span<const TOption> options,
                             std::size_t minPositional, std::size_t maxPositional, TCommandIO& io, TParsedArgs& parsed);

} // namespace hv::cli

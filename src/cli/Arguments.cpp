#include "Arguments.h"

#include <algorithm>
#include <ostream>

namespace hv::cli {

std::optional<std::string> TParsedArgs::Value(std::string_view name) const {
    auto it = Options.find(name);
    if (it == Options.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<int> ParseArgs(TCommandArgs args, const TCommandInfo& command, std::span<const TOption> options,
                             std::size_t minPositional, std::size_t maxPositional, TCommandIO& io,
                             TParsedArgs& parsed) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // A negative number ("-1") is a value, not an option.
        const bool negativeNumber = arg.size() > 1 && arg[0] == '-' && arg[1] >= '0' && arg[1] <= '9';
        if (optionsEnded || arg == "-" || !arg.starts_with('-') || negativeNumber) {
            parsed.Positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            PrintCommandHelp(io.Out, command);
            return kExitOk;
        }
        const std::size_t eq = arg.find('=');
        const std::string_view name = std::string_view(arg).substr(0, eq);
        auto option = std::find_if(options.begin(), options.end(), [name](const TOption& o) { return o.Name == name; });
        if (option == options.end()) {
            return UsageError(io, command.Name, "不明なオプションです: " + std::string(name));
        }
        if (!option->TakesValue) {
            if (eq != std::string::npos) {
                return UsageError(io, command.Name, "オプション " + std::string(name) + " は値を取りません。");
            }
            parsed.Options[std::string(name)] = std::string();
        } else if (eq != std::string::npos) {
            parsed.Options[std::string(name)] = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            parsed.Options[std::string(name)] = args[++i];
        } else {
            return UsageError(io, command.Name, "オプション " + std::string(name) + " に値がありません。");
        }
    }
    if (parsed.Positional.size() < minPositional) {
        return UsageError(io, command.Name, "引数が足りません。");
    }
    if (parsed.Positional.size() > maxPositional) {
        return UsageError(io, command.Name, "引数が多すぎます。");
    }
    return std::nullopt;
}

} // namespace hv::cli

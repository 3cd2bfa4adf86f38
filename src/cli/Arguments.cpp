#include "Arguments.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <ostream>

namespace hv::cli {

namespace {

// Each option whose name ends in "password" and takes a value (a secret) may come instead as
// "--NAME-file FILE", the first line of FILE; "--password" itself, when neither is given, comes
// from $HOLLYVINE_PASSWORD. The command line wins over the file, the file over the variable. An
// unreadable file is reported and ends the command (1). So a password need not show in the
// process list.
constexpr std::string_view kFileSuffix = "-file";
constexpr std::string_view kPasswordOption = "--password";
constexpr const char* kPasswordVariable = "HOLLYVINE_PASSWORD";

// "--password", "--other-password", "--new-password": options whose value is secret.
bool IsPasswordOption(const TOption& option) {
    return option.TakesValue && option.Name.ends_with("password");
}

// The option a "--...password-file" argument stands for, or nullptr.
const TOption* PasswordOptionOfFile(std::span<const TOption> options, std::string_view name) {
    if (!name.ends_with(kFileSuffix)) {
        return nullptr;
    }
    const std::string_view base = name.substr(0, name.size() - kFileSuffix.size());
    auto it = std::find_if(options.begin(), options.end(),
                           [base](const TOption& o) { return o.Name == base && IsPasswordOption(o); });
    return it == options.end() ? nullptr : &*it;
}

// The first line of the file at path, without its line end; nullopt, reported, when it cannot be read.
std::optional<std::string> ReadPasswordFile(const std::string& path, TCommandIO& io) {
    std::ifstream file(path, std::ios::binary);
    std::string line;
    if (!file || (!std::getline(file, line) && !file.eof())) {
        io.Err << "パスワードのファイル \"" << path << "\" を読めませんでした。\n";
        return std::nullopt;
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

// Fills in the password options not given on the command line: "--NAME-file FILE" gives the first
// line of FILE, and "--password" falls back on $HOLLYVINE_PASSWORD.
bool ResolvePasswords(std::span<const TOption> options, const std::map<std::string, std::string, std::less<>>& files,
                      TCommandIO& io, TParsedArgs& parsed) {
    for (const TOption& option : options) {
        if (!IsPasswordOption(option) || parsed.Has(option.Name)) {
            continue;
        }
        if (auto file = files.find(option.Name); file != files.end()) {
            std::optional<std::string> password = ReadPasswordFile(file->second, io);
            if (!password) {
                return false;
            }
            parsed.Options[std::string(option.Name)] = std::move(*password);
        } else if (option.Name == kPasswordOption) {
            if (const char* env = std::getenv(kPasswordVariable)) {
                parsed.Options[std::string(option.Name)] = env;
            }
        }
    }
    return true;
}

} // namespace

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
    std::map<std::string, std::string, std::less<>> passwordFiles; // option ("--password") to file
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
        if (const TOption* secret = option == options.end() ? PasswordOptionOfFile(options, name) : nullptr) {
            if (eq != std::string::npos) {
                passwordFiles[std::string(secret->Name)] = arg.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                passwordFiles[std::string(secret->Name)] = args[++i];
            } else {
                return UsageError(io, command.Name, "オプション " + std::string(name) + " に値がありません。");
            }
            continue;
        }
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
    if (!ResolvePasswords(options, passwordFiles, io, parsed)) {
        return kExitFailure;
    }
    return std::nullopt;
}

} // namespace hv::cli

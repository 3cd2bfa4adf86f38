#include "SettingsCommand.h"

#include "Arguments.h"
#include "settings/FileRegistryStore.h"
#include "settings/NameCase.h"
#include "settings/Settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace hv::cli {

namespace {

const char* KindName(THashKeyKind kind) {
    switch (kind) {
    case THashKeyKind::Integer:
        return "integer";
    case THashKeyKind::Boolean:
        return "boolean";
    case THashKeyKind::Binary:
        return "binary";
    case THashKeyKind::String:
        break;
    }
    return "string";
}

// TAB, CR, LF and backslash as \t \r \n \\, so that every value stays on its line.
std::string EscapeText(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> UnescapeText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        switch (text[i]) {
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::string HexText(std::string_view bytes) {
    std::string out;
    char digits[4];
    for (char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(c));
        if (!out.empty()) {
            out += ' ';
        }
        out += digits;
    }
    return out;
}

// Pairs of hex digits, optionally separated by blanks or commas.
std::optional<std::string> ParseHexText(std::string_view text) {
    std::string bytes;
    std::string digits;
    auto flush = [&] {
        if (digits.empty()) {
            return true;
        }
        if (digits.size() % 2 != 0) {
            return false;
        }
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
        }
        digits.clear();
        return true;
    };
    for (char c : text) {
        if (c == ' ' || c == ',') {
            if (!flush()) {
                return std::nullopt;
            }
        } else if (std::isxdigit(static_cast<unsigned char>(c)) != 0) {
            digits += c;
        } else {
            return std::nullopt;
        }
    }
    return flush() ? std::optional<std::string>(bytes) : std::nullopt;
}

std::optional<bool> ParseBoolean(std::string_view text) {
    if (text == "true" || text == "1") {
        return true;
    }
    if (text == "false" || text == "0") {
        return false;
    }
    return std::nullopt;
}

// A decimal integer of 32 bits with an optional sign, nothing else.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The kind a value is set in: the key's own, except that a key whose default is a boolean takes a
// boolean also when the store reads it back as an integer (a DWORD).
THashKeyKind InputKind(TSettingsTable table, const THashKey& key) {
    for (const TOptionDefault& option : OptionDefaults) {
        if (option.Table == table && option.Kind == THashKeyKind::Boolean && SameName(option.Name, key.Name()) &&
            key.Kind() == THashKeyKind::Integer) {
            return THashKeyKind::Boolean;
        }
    }
    return key.Kind();
}

std::string ValueText(const THashKey& key) {
    switch (key.Kind()) {
    case THashKeyKind::Integer:
        return std::to_string(key.Number());
    case THashKeyKind::Boolean:
        return key.AsBoolean() ? "true" : "false";
    case THashKeyKind::Binary:
        return HexText(key.Text());
    case THashKeyKind::String:
        break;
    }
    return EscapeText(key.Text());
}

void PrintTables(TSettings& settings, std::ostream& out) {
    for (const TSettingsTableInfo& info : SettingsTables) {
        for (const auto& key : settings.Table(info.Table).Keys()) {
            out << info.Name << '\t' << key->Name() << '\t' << KindName(key->Kind()) << '\t' << ValueText(*key) << '\n';
        }
    }
}

const TSettingsTableInfo* FindTable(std::string_view name) {
    for (const TSettingsTableInfo& info : SettingsTables) {
        if (SameName(info.Name, name)) {
            return &info;
        }
    }
    return nullptr;
}

// Writes text into the key with the key's kind; an error message for a value of the wrong form.
std::optional<std::string> SetValue(THashKeyKind kind, THashKey& key, const std::string& text, bool escaped) {
    switch (kind) {
    case THashKeyKind::Boolean:
        if (const std::optional<bool> value = ParseBoolean(text)) {
            key.SetAsBoolean(*value);
            return std::nullopt;
        }
        return "真偽値は true、false、1、0 のいずれかで指定してください: " + text;
    case THashKeyKind::Integer:
        if (const std::optional<std::int32_t> value = ParseInteger(text)) {
            key.SetAsInteger(*value);
            return std::nullopt;
        }
        return "-2147483648 から 2147483647 までの整数を指定してください: " + text;
    case THashKeyKind::Binary:
        if (std::optional<std::string> bytes = ParseHexText(text)) {
            key.SetAsBinary(std::move(*bytes));
            return std::nullopt;
        }
        return "2 桁の 16 進数の並びを指定してください: " + text;
    case THashKeyKind::String:
        break;
    }
    if (!escaped) {
        key.SetAsString(text);
        return std::nullopt;
    }
    if (std::optional<std::string> value = UnescapeText(text)) {
        key.SetAsString(std::move(*value));
        return std::nullopt;
    }
    return "\\ の後には t、r、n、\\ のいずれかを書いてください: " + text;
}

} // namespace

int RunSettings(TCommandArgs args, TCommandIO& io) {
    // The three words after "set" are taken as they stand, so that a VALUE such as "-1" or
    // "--x" is no option; options may come before "set" or after VALUE.
    const auto setWord = std::find(args.begin(), args.end(), "set");
    std::vector<std::string> optionArgs(args.begin(), setWord);
    std::vector<std::string> positional;
    const bool set = setWord != args.end();
    if (set) {
        const auto valuesEnd = setWord + std::min<std::ptrdiff_t>(4, args.end() - setWord);
        positional.assign(setWord + 1, valuesEnd);
        optionArgs.insert(optionArgs.end(), valuesEnd, args.end());
    }
    static constexpr TOption kOptions[] = {{"--escaped", false}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(optionArgs, *FindCommand("settings"), kOptions, 0, 0, io, parsed)) {
        return *exit;
    }
    if (set && positional.size() != 3) {
        return UsageError(io, "settings", "set の後に TABLE KEY VALUE を書いてください。");
    }
    if (!set && parsed.Has("--escaped")) {
        return UsageError(io, "settings", "--escaped は set と一緒に使います。");
    }
    const TSettingsTableInfo* table = set ? FindTable(positional[0]) : nullptr;
    if (set && table == nullptr) {
        return UsageError(io, "settings",
                          "不明な表です: " + positional[0] + " (main、ExportBm、ExportHtml、Find、ToolBar、Window)");
    }

    TFileRegistryStore store(RegistryFilePath(), [&io](const std::string& message) { io.Err << message << '\n'; });
    TSettings settings(store);
    if (set) {
        try {
            THashKey& key = settings.Table(table->Table).GetKey(positional[1]);
            if (std::optional<std::string> error =
                    SetValue(InputKind(table->Table, key), key, positional[2], parsed.Has("--escaped"))) {
                return UsageError(io, "settings", *error);
            }
        } catch (const EHashError& e) {
            io.Err << e.what() << '\n';
            return kExitFailure;
        }
    } else {
        PrintTables(settings, io.Out);
    }
    try {
        settings.End();
    } catch (const EHVError& e) {
        io.Err << "設定を保存できませんでした: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace hv::cli

#include "settings/RegFile.h"

#include "settings/NameCase.h"
#include "text/Encoding.h"
#include "text/TextUtil.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace hv {

namespace {

constexpr std::string_view Header4 = "REGEDIT4";
constexpr std::string_view Header5 = "Windows Registry Editor Version 5.00";
// Bytes of a "hex" list per line before it is continued, as the registry editor wraps at 80.
constexpr std::size_t HexLineWidth = 76;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    return s;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

std::string_view Trim(std::string_view s) {
    return TrimLeft(TrimRight(s));
}

// UTF-16LE bytes (an odd last byte ignored) to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes) {
    std::string out;
    auto unit = [&](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (unit(i + 2) - 0xDC00));
            i += 2;
        } else if (u >= 0xD800 && u < 0xE000) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char c : digits) {
        const char lower = AsciiLower(c);
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (lower >= 'a' && lower <= 'f') {
            digit = lower - 'a' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

class TParser {
public:
    TParser(std::string_view text, bool unicodeHexText) : m_UnicodeHexText(unicodeHexText) {
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            m_Lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
    }

    TRegistryTree Run() {
        // The first line, the header, was checked by the caller.
        for (m_Index = 1; m_Index < m_Lines.size(); ++m_Index) {
            const std::string_view line = Trim(m_Lines[m_Index]);
            if (line.empty() || line.front() == ';') {
                continue;
            }
            if (line.front() == '[') {
                Section(line);
            } else if (line.front() == '"' || line.front() == '@') {
                Value(line);
            } else {
                Fail("読めない行です");
            }
        }
        return std::move(m_Tree);
    }

private:
    [[noreturn]] void Fail(const std::string& reason) const {
        throw ERegFileError(static_cast<int>(m_Index) + 1, reason);
    }

    void Section(std::string_view line) {
        if (line.back() != ']') {
            Fail("キー名の \"]\" がありません");
        }
        std::string_view path = line.substr(1, line.size() - 2);
        const bool removal = !path.empty() && path.front() == '-';
        if (removal) {
            path.remove_prefix(1);
        }
        std::vector<std::string> names = SplitKeyPath(path);
        if (names.empty() || !AsciiLowerCase(names.front()).starts_with("hkey_")) {
            Fail("キー名が HKEY_ で始まっていません");
        }
        m_Key = nullptr;
        if (removal) {
            RemoveKey(names);
            return;
        }
        TRegKeyNode* key = &m_Tree.Root();
        for (const std::string& name : names) {
            key = &key->SubKey(name);
        }
        m_Key = key;
        m_InSection = true;
    }

    void RemoveKey(const std::vector<std::string>& names) {
        TRegKeyNode* parent = &m_Tree.Root();
        for (std::size_t i = 0; i + 1 < names.size() && parent != nullptr; ++i) {
            parent = parent->FindSubKey(names[i]);
        }
        if (parent != nullptr) {
            parent->RemoveSubKey(names.back());
        }
        m_InSection = true; // the values that follow belong to a removed key and are skipped
    }

    // Reads a quoted text starting at rest[0] == '"'; rest is left after the closing quote.
    std::string Quoted(std::string_view& rest, const char* unclosed) const {
        std::string text;
        std::size_t i = 1;
        for (; i < rest.size() && rest[i] != '"'; ++i) {
            if (rest[i] == '\\' && i + 1 < rest.size()) {
                const char next = rest[i + 1];
                if (next == '\\' || next == '"') {
                    text += next;
                } else if (next == 'n') {
                    text += '\n';
                } else if (next == 'r') {
                    text += '\r';
                } else if (next == '0') {
                    text += '\0';
                } else {
                    text += '\\';
                    continue;
                }
                ++i;
            } else {
                text += rest[i];
            }
        }
        if (i >= rest.size()) {
            Fail(unclosed);
        }
        rest.remove_prefix(i + 1);
        return text;
    }

    void Value(std::string_view line) {
        if (!m_InSection) {
            Fail("値がキー名より前にあります");
        }
        std::string_view rest = line;
        std::string name;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            name = Quoted(rest, "値の名前の引用符が閉じていません");
        }
        rest = TrimLeft(rest);
        if (rest.empty() || rest.front() != '=') {
            Fail("値の名前の後に \"=\" がありません");
        }
        rest = TrimLeft(rest.substr(1));
        if (rest == "-") {
            if (m_Key != nullptr) {
                m_Key->RemoveValue(name);
            }
            return;
        }
        TRegValue value = Data(rest);
        if (m_Key != nullptr) {
            m_Key->SetValue(name, std::move(value));
        }
    }

    TRegValue Data(std::string_view rest) {
        if (!rest.empty() && rest.front() == '"') {
            std::string text = Quoted(rest, "文字列の引用符が閉じていません");
            rest = Trim(rest);
            if (!rest.empty() && rest.front() != ';') {
                Fail("文字列の後に余分な文字があります");
            }
            return TRegValue::String(std::move(text));
        }
        const std::string lower = AsciiLowerCase(rest.substr(0, std::min<std::size_t>(rest.size(), 12)));
        if (lower.starts_with("dword:")) {
            const std::optional<std::uint32_t> number = ParseHexNumber(Trim(rest.substr(6)), 8);
            if (!number) {
                Fail("dword の値は 1 桁から 8 桁の 16 進数でなければなりません");
            }
            return TRegValue::DWord(*number);
        }
        if (lower.starts_with("hex:")) {
            return TRegValue::Binary(HexBytes(rest.substr(4)));
        }
        if (lower.starts_with("hex(")) {
            const std::size_t close = rest.find("):");
            const std::optional<std::uint32_t> type =
                close == std::string_view::npos ? std::nullopt : ParseHexNumber(rest.substr(4, close - 4), 8);
            if (!type) {
                Fail("hex(N) の形式が正しくありません");
            }
            return Typed(*type, HexBytes(rest.substr(close + 2)));
        }
        Fail("値の形式が読めません");
    }

    // The comma-separated bytes, following "\" continuations onto the next lines.
    std::string HexBytes(std::string_view first) {
        std::string list(TrimRight(first));
        while (!list.empty() && list.back() == '\\') {
            list.pop_back();
            if (m_Index + 1 >= m_Lines.size()) {
                Fail("16 進数の並びが続きの行なしで終わっています");
            }
            ++m_Index;
            list += Trim(m_Lines[m_Index]);
        }
        std::string bytes;
        if (Trim(list).empty()) {
            return bytes;
        }
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t end = list.find(',', start);
            if (end == std::string::npos) {
                end = list.size();
            }
            const std::optional<std::uint32_t> byte =
                ParseHexNumber(Trim(std::string_view(list).substr(start, end - start)), 2);
            if (!byte) {
                Fail("16 進数の並びが正しくありません");
            }
            bytes += static_cast<char>(*byte);
            start = end + 1;
        }
        return bytes;
    }

    TRegValue Typed(std::uint32_t type, std::string bytes) const {
        if (type == RegSz || type == RegExpandSz) {
            std::string text = m_UnicodeHexText ? Utf16LeToUtf8(bytes) : DecodeUtf8(bytes);
            if (!text.empty() && text.back() == '\0') {
                text.pop_back(); // the terminator the registry keeps with the text
            }
            return type == RegSz ? TRegValue::String(std::move(text)) : TRegValue::ExpandString(std::move(text));
        }
        if (type == RegBinary) {
            return TRegValue::Binary(std::move(bytes));
        }
        if (type == RegDWord && bytes.size() == 4) {
            std::uint32_t number = 0;
            for (int i = 3; i >= 0; --i) {
                number = (number << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
            }
            return TRegValue::DWord(number);
        }
        return TRegValue::Other(type, std::move(bytes));
    }

    std::vector<std::string_view> m_Lines;
    std::size_t m_Index = 0;
    bool m_UnicodeHexText;
    TRegistryTree m_Tree;
    TRegKeyNode* m_Key = nullptr; // null inside a removed key
    bool m_InSection = false;
};

std::string Escaped(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\0':
            out += "\\0";
            break;
        default:
            out += c;
        }
    }
    return out + "\"";
}

// column: where the line stands before the list, for the wrapping.
void AppendHex(std::string& line, std::string_view bytes, std::size_t column) {
    std::size_t width = column + line.size();
    char digits[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(bytes[i]));
        line += digits;
        width += 2;
        if (i + 1 < bytes.size()) {
            line += ',';
            ++width;
            if (width >= HexLineWidth) {
                line += "\\\n  ";
                width = 2;
            }
        }
    }
}

std::string FormatData(const TRegValue& value, std::size_t column) {
    char buffer[32];
    std::string data;
    switch (value.Kind) {
    case TRegValueKind::String:
        return Escaped(value.Data);
    case TRegValueKind::DWord:
        std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(value.Number));
        return buffer;
    case TRegValueKind::ExpandString:
        data = "hex(2):";
        break;
    case TRegValueKind::Binary:
        data = "hex:";
        break;
    case TRegValueKind::Other:
        std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(value.RawType));
        data = buffer;
        break;
    }
    if (value.Kind == TRegValueKind::ExpandString) {
        AppendHex(data, EncodeUtf8(value.Data) + std::string(1, '\0'), column);
    } else {
        AppendHex(data, value.Data, column);
    }
    return data;
}

void FormatKey(std::string& out, const TRegKeyNode& key, const std::string& path) {
    if (!key.Values.empty() || key.SubKeys.empty()) {
        out += "\n[" + path + "]\n";
        for (const auto& [name, value] : key.Values) {
            const std::string prefix = (name.empty() ? std::string("@") : Escaped(name)) + "=";
            out += prefix + FormatData(value, prefix.size()) + "\n";
        }
    }
    // Sub-keys in alphabetical order, as the registry lists them.
    std::vector<std::pair<std::string, const TRegKeyNode*>> subKeys;
    for (const auto& sub : key.SubKeys) {
        subKeys.emplace_back(LowerName(sub->Name), sub.get());
    }
    std::sort(subKeys.begin(), subKeys.end());
    for (const auto& [lower, sub] : subKeys) {
        FormatKey(out, *sub, path + "\\" + sub->Name);
    }
}

} // namespace

ERegFileError::ERegFileError(int line, const std::string& reason)
    : EHVError(std::to_string(line) + " 行目: " + reason), m_Line(line), m_Reason(reason) {}

TRegistryTree ParseRegFile(std::string_view bytes) {
    std::string text;
    bool unicode = false;
    if (bytes.starts_with("\xFF\xFE")) {
        text = Utf16LeToUtf8(bytes.substr(2));
        unicode = true;
    } else {
        text = DecodeUtf8(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes);
    }
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        return {};
    }
    const std::string_view header = TrimRight(std::string_view(text).substr(0, text.find('\n')));
    if (header == Header5) {
        unicode = true; // its hex(1) and hex(2) texts are UTF-16
    } else if (header != Header4) {
        throw ERegFileError(1, "REGEDIT4 で始まっていません");
    }
    return TParser(text, unicode).Run();
}

std::string FormatRegFile(const TRegistryTree& tree) {
    std::string out(Header4);
    out += '\n';
    for (const auto& hive : tree.Root().SubKeys) {
        FormatKey(out, *hive, hive->Name);
    }
    return EncodeUtf8(out);
}

} // namespace hv

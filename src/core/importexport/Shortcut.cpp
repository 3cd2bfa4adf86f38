#include "importexport/Shortcut.h"

#include "importexport/DesktopLink.h"
#include "model/HVFolder.h"
#include "model/TreeEdits.h"
#include "platform/SafeFile.h"
#include "platform/UserPrompts.h"
#include "text/Encoding.h"
#include "text/KanjiDetect.h"
#include "text/TextUtil.h"
#include "text/Utf8.h"

#include <optional>

namespace hv {

namespace {

// How many bytes the first n bytes of a line can keep without cutting a character.
std::size_t CharBoundary(std::string_view s, std::size_t n, bool utf8) {
    if (s.size() <= n) {
        return s.size();
    }
    if (utf8) {
        while (n > 0 && IsUtf8Continuation(s[n])) {
            --n;
        }
        return n;
    }
    std::size_t pos = 0;
    while (pos < n) {
        const auto b = static_cast<unsigned char>(s[pos]);
        const std::size_t len = ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 2 : 1;
        if (pos + len > n) {
            break;
        }
        pos += len;
    }
    return pos;
}

} // namespace

std::string ParseShortcutURL(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    const bool utf8 = IsValidUtf8(bytes);
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        const std::string_view line = TrimBlanksAndTabs(bytes.substr(pos, end - pos));
        pos = end + 1;
        if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            const std::string_view name =
                TrimBlanksAndTabs(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
            inSection = AsciiSameText(name, "InternetShortcut");
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos ||
            !AsciiSameText(TrimBlanksAndTabs(line.substr(0, eq)), "URL")) {
            continue;
        }
        std::string_view value = TrimBlanksAndTabs(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        value = value.substr(0, CharBoundary(value, kShortcutUrlLimit, utf8));
        return utf8 ? DecodeUtf8(value) : DecodeCp932(value);
    }
    return {};
}

std::string ReadShortcutURL(const std::string& path) {
    try {
        return ParseShortcutURL(ReadFileBytes(path));
    } catch (const std::exception&) {
        return {};
    }
}

std::string BuildShortcutFile(std::string_view url) {
    std::string text = "[InternetShortcut]\r\nURL=";
    // Readers trim blanks and TABs and take one pair of quotes around a value away: a URL that
    // would lose either gets a pair of quotes, so that it reads back whole.
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted =
        !url.empty() && (blank(url.front()) || blank(url.back()) ||
                         (url.size() >= 2 && (url.front() == '"' || url.front() == '\'') && url.back() == url.front()));
    if (quoted) {
        text += '"';
    }
    text += url;
    if (quoted) {
        text += '"';
    }
    text += "\r\n";
    std::string utf8 = EncodeUtf8(text);
    // A URL read from a CP932 file may hold kept bytes, which written raw into UTF-8 make the
    // file read as CP932 again, or fuse with their neighbours; CP932 is taken then when it
    // reads back to the same URL.
    if (ParseShortcutURL(utf8) != url) {
        if (std::optional<std::string> cp932 = EncodeCp932(text); cp932 && ParseShortcutURL(*cp932) == url) {
            return std::move(*cp932);
        }
    }
    return utf8;
}

std::string ShortcutName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() < 4 || !AsciiSameText(name.substr(name.size() - 4), ".url")) {
        return {};
    }
    return std::string(name.substr(0, name.size() - 4));
}

int ImportShortcuts(const std::vector<std::string>& files, THVFolder& folder, TUserPrompts& prompts,
                    TTreeEdits* edits) {
    int count = 0;
    for (const std::string& file : files) {
        std::string name = SanitizeLine(DecodeUtf8(ShortcutName(file)));
        std::string url = SanitizeLine(ReadShortcutURL(file));
        if (const auto link = name.empty() ? ReadNamedDesktopLink(file) : std::nullopt) {
            name = SanitizeLine(link->Name);
            url = SanitizeLine(link->URL);
        }
        if (name.empty() || url.empty()) {
            continue;
        }
        if (edits != nullptr) {
            edits->AddNewItem(folder.List(), name, url);
        } else {
            THVItem* item = folder.List().Add(name);
            item->SetURL(url);
            MakeUniqueName(*item);
        }
        ++count;
    }
    std::string text(kImportShortcutsDone);
    text.replace(text.find("%d"), 2, std::to_string(count));
    prompts.Information(text);
    return count;
}

} // namespace hv

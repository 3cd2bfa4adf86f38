#include "exchange/ClipFormats.h"

#include "document/RecordWriter.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "text/Encoding.h"
#include "text/KanjiDetect.h"
#include "text/TextUtil.h"
#include "text/Utf8.h"

namespace hv {

namespace {

std::string DecodeText(std::string_view bytes) {
    return IsValidUtf8(bytes) ? DecodeUtf8(bytes) : DecodeCp932(bytes);
}

// UTF-16 code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (char32_t(a) << 8) | b : (char32_t(b) << 8) | a;
    };
    const std::size_t n = bytes.size() / 2 * 2;
    for (std::size_t i = 0; i < n; i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < n) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp == 0) {
            break; // a C string's end
        }
        AppendUtf8(out, cp);
    }
    return out;
}

TDroppedLink SplitLink(std::string_view text) {
    const std::size_t lf = text.find('\n');
    std::string_view url = text.substr(0, lf);
    std::string_view title;
    if (lf != std::string_view::npos) {
        title = text.substr(lf + 1);
        title = title.substr(0, title.find('\n'));
    }
    TDroppedLink link{SanitizeLine(url), SanitizeLine(title)};
    // A line ended by CR LF leaves a blank behind.
    while (!link.URL.empty() && link.URL.back() == ' ') {
        link.URL.pop_back();
    }
    while (!link.Title.empty() && link.Title.back() == ' ') {
        link.Title.pop_back();
    }
    if (link.URL.empty()) {
        link.Title.clear();
    }
    return link;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string PercentDecode(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int hi = 0, lo = 0;
        if (text[i] == '%' && i + 2 < text.size() && (hi = HexValue(text[i + 1])) >= 0 &&
            (lo = HexValue(text[i + 2])) >= 0) {
            out += static_cast<char>(hi * 16 + lo);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool HasScheme(std::string_view uri, std::string_view scheme) {
    return uri.size() > scheme.size() && AsciiSameText(uri.substr(0, scheme.size()), scheme);
}

} // namespace

std::string BuildOwnData(const std::vector<const THVItem*>& items) {
    std::string records;
    for (const THVItem* item : items) {
        AppendItemRecord(records, *item);
    }
    return EncodeUtf8(records);
}

std::string BuildOwnData(const THVFolder& folder) {
    std::string records;
    AppendFolderRecords(records, folder, 1);
    return EncodeUtf8(records);
}

std::string DecodeOwnData(std::string_view bytes) {
    while (!bytes.empty() && bytes.back() == '\0') {
        bytes.remove_suffix(1);
    }
    return DecodeText(bytes);
}

std::string BuildMozUrlText(const std::vector<const THVItem*>& items) {
    std::string text;
    for (const THVItem* item : items) {
        if (!text.empty()) {
            text += '\n';
        }
        text += item->GetURL();
        text += '\n';
        text += item->GetName();
    }
    return text;
}

std::string BuildUriList(const std::vector<const THVItem*>& items) {
    std::string text;
    for (const THVItem* item : items) {
        if (!item->GetURL().empty()) {
            text += item->GetURL();
            text += "\r\n";
        }
    }
    return text;
}

std::string BuildUrlText(const std::vector<const THVItem*>& items) {
    std::string text;
    for (const THVItem* item : items) {
        if (item->GetURL().empty()) {
            continue;
        }
        if (!text.empty()) {
            text += '\n';
        }
        text += item->GetURL();
    }
    return text;
}

TDroppedLink ParseMozUrl(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        return SplitLink(DecodeUtf16(bytes.substr(2), false));
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return SplitLink(DecodeUtf16(bytes.substr(2), true));
    }
    if (bytes.find('\0') == std::string_view::npos) {
        return SplitLink(DecodeText(bytes));
    }
    return SplitLink(DecodeUtf16(bytes, false));
}

TDroppedLink ParseNetscapeUrl(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    return SplitLink(DecodeText(bytes));
}

TUriList ParseUriList(std::string_view bytes) {
    TUriList list;
    bytes = bytes.substr(0, bytes.find('\0'));
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (HasScheme(line, "http://") || HasScheme(line, "https://") || HasScheme(line, "ftp://")) {
            list.Links.push_back(SanitizeLine(DecodeText(line)));
        } else if (HasScheme(line, "file:")) {
            // file:/path, file:///path or file://localhost/path; another host is not this machine.
            std::string_view rest = line.substr(5);
            if (rest.starts_with("//")) {
                rest.remove_prefix(2);
                const std::size_t slash = rest.find('/');
                const std::string_view host = rest.substr(0, slash);
                if (slash == std::string_view::npos || !(host.empty() || AsciiSameText(host, "localhost"))) {
                    continue;
                }
                rest.remove_prefix(slash);
            }
            std::string path = PercentDecode(rest.substr(0, rest.find_first_of("?#")));
            if (!path.empty() && path.find('\0') == std::string::npos) {
                list.Files.push_back(std::move(path));
            }
        }
    }
    return list;
}

} // namespace hv

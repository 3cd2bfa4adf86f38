#include "exchange/Paste.h"

#include "Errors.h"
#include "document/RecordReader.h"
#include "importexport/DesktopLink.h"
#include "importexport/Shortcut.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "text/Encoding.h"
#include "text/TextUtil.h"

namespace hv {

namespace {

// "ｼｮｰﾄｶｯﾄ " in half-width katakana: what Japanese Windows put before the names of shortcuts.
constexpr std::string_view kShortcutPrefix =
    "\xEF\xBD\xBC\xEF\xBD\xAE\xEF\xBD\xB0\xEF\xBE\x84\xEF\xBD\xB6\xEF\xBD\xAF\xEF\xBE\x84 ";

// The biggest file looked into for a shortcut's address.
constexpr std::size_t kShortcutFileLimit = 64 * 1024;

std::string_view BaseName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view WithoutExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string FileNameText(std::string_view name) {
    // File names are bytes; the names of this system are UTF-8.
    return SanitizeLine(DecodeUtf8(name));
}

// Whether records read into a folder of their own give no error.
bool RecordsReadable(std::string_view records) {
    THVFolder scratch;
    try {
        ReadRecords(records, scratch);
    } catch (const EConvertError&) {
        return false;
    }
    return true;
}

THVItem* AddLinkItem(THVFolder& folder, const std::string& name, const std::string& url) {
    THVItem* item = folder.List().Add(name);
    item->SetURL(url);
    MakeUniqueName(*item);
    return item;
}

} // namespace

std::string DescriptorItemName(std::string_view fileName) {
    std::string_view name = fileName;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && AsciiSameText(name.substr(dot), ".url")) {
        name = name.substr(0, dot);
    }
    if (name.starts_with(kShortcutPrefix)) {
        name.remove_prefix(kShortcutPrefix.size());
    }
    return std::string(name);
}

std::string LinkItemName(const THVList& list, std::string_view title) {
    std::string name = DescriptorItemName(SanitizeLine(title));
    return name.empty() ? NewItemName(list) : name;
}

std::optional<TDroppedLink> ReadDroppedFile(const std::string& path) {
    const std::string_view base = BaseName(path);
    const std::size_t dot = base.rfind('.');
    std::optional<TDroppedLink> link;
    if (dot != std::string_view::npos && AsciiSameText(base.substr(dot), ".desktop")) {
        if (auto entry = ReadNamedDesktopLink(path)) {
            link = TDroppedLink{entry->URL, SanitizeLine(entry->Name)};
        }
    } else if (auto bytes = ReadSmallFile(path, kShortcutFileLimit)) {
        link = TDroppedLink{SanitizeLine(ParseShortcutURL(*bytes)), FileNameText(WithoutExtension(base))};
    }
    if (!link || link->URL.empty() || link->Title.empty()) {
        return std::nullopt;
    }
    return link;
}

TPasteResult PasteInto(const TPasteData& data, THVFolder& folder, const TPasteOptions& options) {
    TPasteResult result;
    if (!data.Own.empty()) {
        // Checked first, so that broken records leave the tree as it was.
        if (!RecordsReadable(data.Own)) {
            return result;
        }
        TReadOptions read;
        read.SortFolders = options.SortFolders;
        result.Created = ReadRecords(data.Own, folder, read);
        return result;
    }
    if (!data.Links.empty()) {
        for (const TDroppedLink& link : data.Links) {
            if (link.URL.empty()) {
                continue;
            }
            AddLinkItem(folder, LinkItemName(folder.List(), link.Title), link.URL);
            ++result.Created;
        }
        return result;
    }
    for (const std::string& path : data.Files) {
        if (auto link = ReadDroppedFile(path)) {
            AddLinkItem(folder, link->Title, link->URL);
            ++result.Created;
        }
    }
    return result;
}

} // namespace hv

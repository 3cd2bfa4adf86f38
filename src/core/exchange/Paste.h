#pragma once

#include "exchange/ClipFormats.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

class THVFolder;
class THVItem;
class THVList;

// What a paste or a drop brings, taken from the best format offered: the own records, else
// links (with the titles that came with them), else dropped files.
struct TPasteData {
    // The decoded records of the own format; empty: not offered.
    std::string Own;
    std::vector<TDroppedLink> Links;
    std::vector<std::string> Files;

    bool Empty() const { return Own.empty() && Links.empty() && Files.empty(); }
};

struct TPasteOptions {
    // New folders are kept in name order.
    bool SortFolders = false;
};

struct TPasteResult {
    // Items and folders made.
    int Created = 0;
};

// Pastes data into folder:
// - own records are read relative to folder: folder records find or make same-named sub-folders
//   (letter case of ASCII ignored, so folders merge), item records make items with unique
//   names; folder and everything below it is expanded. Records that cannot be read (a bad level,
//   a broken memo) paste nothing at all;
// - each link becomes an item named after its title (LinkItemName), made unique;
// - each dropped file that is a shortcut or a link file (ReadDroppedFile) becomes an item;
//   other files are skipped.
// The document has changed when Created is not 0.
TPasteResult PasteInto(const TPasteData& data, THVFolder& folder, const TPasteOptions& options = {});

// The item name a file name gives, as a dropped link's descriptor names it: the extension (from
// the last ".") kept unless it is ".url" in any letter case, then a leading "ｼｮｰﾄｶｯﾄ " removed.
std::string DescriptorItemName(std::string_view fileName);
// The name of a new item for a link with title in list: DescriptorItemName(title), or when that
// is empty NewItemName ("(Untitled)", then "(Untitled)~2", ...).
std::string LinkItemName(const THVList& list, std::string_view title);

// The link a dropped file stands for: a freedesktop link file (".desktop", its Name or else the
// file name without extension) or an Internet shortcut (any other file with an
// "[InternetShortcut]" URL; the file name without extension). nullopt when the file is neither,
// cannot be read, or gives an empty name or URL.
std::optional<TDroppedLink> ReadDroppedFile(const std::string& path);

} // namespace hv

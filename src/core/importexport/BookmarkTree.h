#pragma once

#include "model/DateTime.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The tree every bookmark import reads into (bookmark files, the browsers' own stores) and the
// one routine that puts such a tree into a folder of the document.

namespace hv {

class THVFolder;
class THVItem;

// The name of a link or heading without text.
inline constexpr std::string_view kNoTextName = "(    )";

struct TBookmarkNode {
    bool IsFolder = false;
    // Index of the folder node this node belongs to; kTargetNode for the import's target.
    int Parent = -1;
    std::string Name;
    // Items only.
    std::string URL;
    TDateTime LastVisited = 0;
    std::string Memo;
};

// Folders and bookmarks in document order: every node comes after the folder holding it, and
// the nodes of one folder in their order there. Names are already cleaned by the reader.
class TBookmarkTree {
public:
    static constexpr int kTargetNode = -1;

    int AddFolder(int parent, std::string name);
    int AddItem(int parent, std::string name, std::string url, TDateTime lastVisited = 0);

    std::vector<TBookmarkNode>& Nodes() { return m_Nodes; }
    const std::vector<TBookmarkNode>& Nodes() const { return m_Nodes; }
    int ItemCount() const { return m_Items; }
    int FolderCount() const { return static_cast<int>(m_Nodes.size()) - m_Items; }

private:
    std::vector<TBookmarkNode> m_Nodes;
    int m_Items = 0;
};

struct TBookmarkImportOptions {
    // The folder the item list shows; OnItemShown is called for each item created in it.
    const THVFolder* ShownFolder = nullptr;
    std::function<void(THVItem&)> OnItemShown;
};

struct TBookmarkImportResult {
    int Folders = 0; // folders created
    int Items = 0;   // items created
    // Anything in the tree changed (items or folders added, folders re-sorted).
    bool Modified = false;
};

// The import rebuilds a tree below its target, so callers offer only a folder without subfolders.
bool CanImportBookmarksInto(const THVFolder& target);

// Puts tree into target: a folder node continues an existing child folder of the same name
// (ASCII case ignored) or adds one; each item node becomes an item (name made unique in its
// folder). The children of every folder that received folder nodes are then sorted by name.
// When complete is true (the whole source was read) target and all below it are expanded.
TBookmarkImportResult InsertBookmarkTree(const TBookmarkTree& tree, THVFolder& target,
                                         const TBookmarkImportOptions& options = {}, bool complete = true);

// Text from outside as a one-line name: CR, LF and TAB become blanks, other control characters
// and blanks at both ends go, a no-break space becomes a blank. May be empty.
std::string CleanImportedName(std::string_view text);
// An address from outside: one line (as above), blanks at both ends dropped.
std::string CleanImportedURL(std::string_view text);
// A folder name from outside: as CleanImportedName, "(    )" when empty, and "\" (which
// separates folder paths) becomes the full-width yen sign.
std::string CleanImportedFolderName(std::string_view text);

// The local time of a last visit given in seconds since 1970 (UTC); 0 (never) for 0, negative
// times and times outside the calendar.
TDateTime ImportedVisitTime(std::int64_t unixSeconds);

} // namespace hv

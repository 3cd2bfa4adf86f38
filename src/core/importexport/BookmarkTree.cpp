#include "importexport/BookmarkTree.h"

#include "Errors.h"
#include "model/HVFolder.h"
#include "model/Names.h"
#include "text/TextUtil.h"

#include <unordered_map>
#include <unordered_set>

namespace hv {

namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(s.size());
    std::size_t runStart = 0;
    for (std::size_t pos = s.find(from); pos != std::string_view::npos; pos = s.find(from, runStart)) {
        out.append(s.substr(runStart, pos - runStart));
        out.append(to);
        runStart = pos + from.size();
    }
    out.append(s.substr(runStart));
    return out;
}

class TTreeInserter {
public:
    TTreeInserter(THVFolder& target, const TBookmarkImportOptions& options) : m_Target(target), m_Options(options) {}

    TBookmarkImportResult Run(const TBookmarkTree& tree, bool complete) {
        const std::vector<TBookmarkNode>& nodes = tree.Nodes();
        // The document folder of each folder node (nullptr for items).
        std::vector<THVFolder*> folders(nodes.size(), nullptr);
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const TBookmarkNode& node = nodes[i];
            THVFolder* parent = &m_Target;
            if (node.Parent != TBookmarkTree::kTargetNode) {
                // A node naming no folder before it (a malformed tree) lands in the target.
                const auto index = static_cast<std::size_t>(node.Parent);
                if (index < i && folders[index] != nullptr) {
                    parent = folders[index];
                }
            }
            if (node.IsFolder) {
                folders[i] = FindOrAddChild(*parent, node.Name);
                if (m_SortSet.insert(parent).second) {
                    m_ToSort.push_back(parent);
                }
            } else {
                AddItem(*parent, node);
            }
        }
        Finish(complete);
        return m_Result;
    }

private:
    void AddItem(THVFolder& folder, const TBookmarkNode& node) {
        THVItem* item = folder.List().Add();
        item->SetName(node.Name);
        item->SetURL(node.URL);
        item->SetLastVisited(node.LastVisited);
        if (!node.Memo.empty()) {
            item->SetMemo(node.Memo);
        }
        MakeUniqueName(*item);
        ++m_Result.Items;
        m_Result.Modified = true;
        if (&folder == m_Options.ShownFolder && m_Options.OnItemShown) {
            m_Options.OnItemShown(*item);
        }
    }

    THVFolder* FindOrAddChild(THVFolder& parent, const std::string& name) {
        auto [entry, fresh] = m_ChildIndex.try_emplace(&parent);
        auto& index = entry->second;
        if (fresh) {
            for (const auto& child : parent.Children()) {
                index.try_emplace(AsciiLowerCase(child->Name()), child.get());
            }
        }
        std::string key = AsciiLowerCase(name);
        if (auto found = index.find(key); found != index.end()) {
            return found->second;
        }
        THVFolder* child = parent.AddChild(name);
        index.emplace(std::move(key), child);
        ++m_Result.Folders;
        m_Result.Modified = true;
        return child;
    }

    void Finish(bool complete) {
        for (THVFolder* folder : m_ToSort) {
            std::vector<const THVFolder*> before;
            before.reserve(folder->Children().size());
            for (const auto& child : folder->Children()) {
                before.push_back(child.get());
            }
            folder->SortChildren();
            for (std::size_t i = 0; i < before.size(); ++i) {
                if (folder->Children()[i].get() != before[i]) {
                    m_Result.Modified = true;
                    break;
                }
            }
        }
        if (complete) {
            m_Target.SetExpandedRecursive(true);
        }
    }

    THVFolder& m_Target;
    const TBookmarkImportOptions& m_Options;
    // Child folders by lower-cased name, for each folder that received folder nodes.
    std::unordered_map<THVFolder*, std::unordered_map<std::string, THVFolder*>> m_ChildIndex;
    // Folders whose children are sorted at the end, once each.
    std::vector<THVFolder*> m_ToSort;
    std::unordered_set<THVFolder*> m_SortSet;
    TBookmarkImportResult m_Result;
};

} // namespace

int TBookmarkTree::AddFolder(int parent, std::string name) {
    TBookmarkNode& node = m_Nodes.emplace_back();
    node.IsFolder = true;
    node.Parent = parent;
    node.Name = std::move(name);
    return static_cast<int>(m_Nodes.size()) - 1;
}

int TBookmarkTree::AddItem(int parent, std::string name, std::string url, TDateTime lastVisited) {
    TBookmarkNode& node = m_Nodes.emplace_back();
    node.Parent = parent;
    node.Name = std::move(name);
    node.URL = std::move(url);
    node.LastVisited = lastVisited;
    ++m_Items;
    return static_cast<int>(m_Nodes.size()) - 1;
}

bool CanImportBookmarksInto(const THVFolder& target) {
    return target.ChildCount() == 0;
}

TBookmarkImportResult InsertBookmarkTree(const TBookmarkTree& tree, THVFolder& target,
                                         const TBookmarkImportOptions& options, bool complete) {
    TTreeInserter inserter(target, options);
    return inserter.Run(tree, complete);
}

std::string CleanImportedName(std::string_view text) {
    const std::string line = ReplaceAll(SanitizeLine(text), kNoBreakSpace, " ");
    return std::string(TrimSpaces(line));
}

std::string CleanImportedURL(std::string_view text) {
    const std::string line = SanitizeLine(text);
    return std::string(TrimSpaces(line));
}

std::string CleanImportedFolderName(std::string_view text) {
    const std::string name = CleanImportedName(text);
    return name.empty() ? std::string(kNoTextName) : FolderNameWithYen(name);
}

TDateTime ImportedVisitTime(std::int64_t unixSeconds) {
    if (unixSeconds <= 0) {
        return 0;
    }
    try {
        return DateTimeFromUnix(unixSeconds);
    } catch (const EConvertError&) {
        return 0;
    }
}

} // namespace hv

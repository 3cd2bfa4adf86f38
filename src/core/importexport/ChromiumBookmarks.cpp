#include "importexport/BookmarkStore.h"

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

namespace hv {

namespace {

using TJson = nlohmann::json;

// Microseconds between 1601-01-01 and 1970-01-01 (UTC).
constexpr std::int64_t kEpochDeltaUs = 11644473600LL * 1000000;

struct TRoot {
    std::string_view Key;
    std::string_view Name;
};
constexpr std::array<TRoot, 3> kRoots = {{
    {"bookmark_bar", kChromiumBarRoot},
    {"other", kChromiumOtherRoot},
    {"synced", kMobileRoot},
}};

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// One object of the roots as the file has it; the parent comes before its children.
struct TRawNode {
    int Parent = -1; // -1 for a root
    int Root = -1;   // index in kRoots, for a root
    std::string Type;
    std::string Name;
    std::string URL;
    std::int64_t LastUsedUs = 0;
};

// Reads the file as a stream of events, without building the whole document in memory (a
// Bookmarks file of 100,000 bookmarks is some 40 MB of JSON): only the objects under "roots"
// and their "children" are kept, every other value is passed over whatever it holds.
class TBookmarksSax {
public:
    enum class TFrame { Top, Roots, Node, Children, Skip };

    bool null() { return true; }
    bool boolean(bool) { return true; }
    bool number_integer(std::int64_t value) { return Time(value); }
    bool number_unsigned(std::uint64_t value) {
        return Time(value > static_cast<std::uint64_t>(INT64_MAX) ? 0 : static_cast<std::int64_t>(value));
    }
    bool number_float(double, const std::string&) { return true; }
    bool binary(TJson::binary_t&) { return true; }

    bool string(std::string& value) {
        if (!InNode()) {
            return true;
        }
        TRawNode& node = Nodes[static_cast<std::size_t>(m_Stack.back().Node)];
        const std::string& key = m_Stack.back().Key;
        if (key == "type") {
            node.Type = std::move(value);
        } else if (key == "name") {
            node.Name = std::move(value);
        } else if (key == "url") {
            node.URL = std::move(value);
        } else if (key == "date_last_used") {
            std::int64_t us = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), us);
            node.LastUsedUs = error == std::errc() && end == value.data() + value.size() ? us : 0;
        }
        return true;
    }

    bool start_object(std::size_t) {
        if (m_Stack.empty()) {
            TopIsObject = true;
            Push(TFrame::Top);
            return true;
        }
        const TState& top = m_Stack.back();
        if (top.Frame == TFrame::Top && top.Key == "roots") {
            HasRoots = true;
            Push(TFrame::Roots);
        } else if (top.Frame == TFrame::Roots) {
            int root = -1;
            for (std::size_t i = 0; i < kRoots.size(); ++i) {
                if (top.Key == kRoots[i].Key) {
                    root = static_cast<int>(i);
                }
            }
            if (root < 0) {
                Push(TFrame::Skip);
            } else {
                AddNode(-1, root);
            }
        } else if (top.Frame == TFrame::Children) {
            AddNode(top.Node, -1);
        } else {
            Push(TFrame::Skip);
        }
        return true;
    }
    bool end_object() {
        m_Stack.pop_back();
        return true;
    }
    bool start_array(std::size_t) {
        if (InNode() && m_Stack.back().Key == "children") {
            Push(TFrame::Children, m_Stack.back().Node);
        } else {
            Push(TFrame::Skip);
        }
        return true;
    }
    bool end_array() {
        if (!m_Stack.empty()) {
            m_Stack.pop_back();
        }
        return true;
    }
    bool key(std::string& name) {
        m_Stack.back().Key = std::move(name);
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

    std::vector<TRawNode> Nodes;
    bool TopIsObject = false;
    bool HasRoots = false;

private:
    struct TState {
        TFrame Frame;
        std::string Key; // the key of the value being read, in an object
        int Node = -1;   // the node of a Node or Children frame
    };

    void Push(TFrame frame, int node = -1) { m_Stack.push_back({frame, {}, node}); }

    bool InNode() const { return !m_Stack.empty() && m_Stack.back().Frame == TFrame::Node; }

    bool Time(std::int64_t value) {
        if (InNode() && m_Stack.back().Key == "date_last_used") {
            Nodes[static_cast<std::size_t>(m_Stack.back().Node)].LastUsedUs = value;
        }
        return true;
    }

    void AddNode(int parent, int root) {
        TRawNode& node = Nodes.emplace_back();
        node.Parent = parent;
        node.Root = root;
        Push(TFrame::Node, static_cast<int>(Nodes.size()) - 1);
    }

    std::vector<TState> m_Stack;
};

TDateTime VisitTime(std::int64_t us) {
    return us <= 0 ? 0 : ImportedVisitTime((us - kEpochDeltaUs) / 1000000);
}

// The tree of the roots: folders and bookmarks under the roots that hold any, everything else
// (separators, unknown kinds, whatever lies below them) left out.
TBookmarkTree BuildTree(const std::vector<TRawNode>& nodes) {
    std::vector<bool> hasContent(nodes.size(), false);
    for (const TRawNode& node : nodes) {
        if (node.Parent >= 0 && (node.Type == "folder" || node.Type == "url")) {
            hasContent[static_cast<std::size_t>(node.Parent)] = true;
        }
    }
    TBookmarkTree tree;
    // The tree's folder of each raw node; -2 for nodes that are not taken (nor their children).
    constexpr int kDropped = -2;
    std::vector<int> folderOf(nodes.size(), kDropped);
    // The roots in the order of kRoots, however the file orders them.
    for (std::size_t root = 0; root < kRoots.size(); ++root) {
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            if (nodes[i].Root == static_cast<int>(root) && hasContent[i] && folderOf[i] == kDropped) {
                folderOf[i] = tree.AddFolder(TBookmarkTree::kTargetNode, std::string(kRoots[root].Name));
                break;
            }
        }
    }
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const TRawNode& node = nodes[i];
        if (node.Parent < 0) {
            continue;
        }
        const int parent = folderOf[static_cast<std::size_t>(node.Parent)];
        if (parent == kDropped) {
            continue;
        }
        if (node.Type == "folder") {
            folderOf[i] = tree.AddFolder(parent, CleanImportedFolderName(node.Name));
        } else if (node.Type == "url") {
            std::string url = CleanImportedURL(node.URL);
            std::string title = CleanImportedName(node.Name);
            if (title.empty()) {
                title = url.empty() ? std::string(kNoTextName) : url;
            }
            tree.AddItem(parent, std::move(title), std::move(url), VisitTime(node.LastUsedUs));
        }
    }
    return tree;
}

} // namespace

TBookmarkTree ParseChromiumBookmarks(std::string_view json, const std::string& path) {
    TBookmarksSax sax;
    if (!TJson::sax_parse(json.begin(), json.end(), &sax)) {
        throw EBookmarkStoreError(Quoted(path) + " は壊れているため読み込めません。");
    }
    if (!sax.TopIsObject || !sax.HasRoots) {
        throw EBookmarkStoreError(Quoted(path) + " は Chromium のブックマークのファイルではありません。");
    }
    return BuildTree(sax.Nodes);
}

TBookmarkTree ReadChromiumBookmarks(const std::string& path) {
    return ParseChromiumBookmarks(ReadStoreFile(path), path);
}

} // namespace hv

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

std::string StringField(const TJson& node, const char* key) {
    const auto found = node.find(key);
    return found != node.end() && found->is_string() ? found->get<std::string>() : std::string();
}

// A time of the file: a decimal string (as Chromium writes it) or a number.
TDateTime VisitTime(const TJson& node) {
    const auto found = node.find("date_last_used");
    if (found == node.end()) {
        return 0;
    }
    std::int64_t us = 0;
    if (found->is_string()) {
        const std::string& text = found->get_ref<const std::string&>();
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), us);
        if (error != std::errc() || end != text.data() + text.size()) {
            return 0;
        }
    } else if (found->is_number_integer()) {
        us = found->get<std::int64_t>();
    } else {
        return 0;
    }
    if (us <= 0) {
        return 0;
    }
    return ImportedVisitTime((us - kEpochDeltaUs) / 1000000);
}

bool IsFolder(const TJson& node) {
    return node.is_object() && StringField(node, "type") == "folder";
}

bool IsUrl(const TJson& node) {
    return node.is_object() && StringField(node, "type") == "url";
}

const TJson* ChildrenOf(const TJson& folder) {
    const auto found = folder.find("children");
    return found != folder.end() && found->is_array() ? &*found : nullptr;
}

bool HasContent(const TJson& folder) {
    if (const TJson* children = ChildrenOf(folder)) {
        for (const TJson& child : *children) {
            if (IsFolder(child) || IsUrl(child)) {
                return true;
            }
        }
    }
    return false;
}

// Adds a folder and everything below it without recursion: the nesting has no bound.
void AddFolder(TBookmarkTree& tree, const TJson& folder, std::string name) {
    struct TPending {
        const TJson* Node;
        int Parent;
    };
    std::vector<TPending> stack;
    const auto push = [&stack](const TJson& parent, int node) {
        if (const TJson* children = ChildrenOf(parent)) {
            for (auto it = children->rbegin(); it != children->rend(); ++it) {
                stack.push_back({&*it, node});
            }
        }
    };
    push(folder, tree.AddFolder(TBookmarkTree::kTargetNode, std::move(name)));
    while (!stack.empty()) {
        const TPending next = stack.back();
        stack.pop_back();
        const TJson& node = *next.Node;
        if (IsUrl(node)) {
            std::string url = CleanImportedURL(StringField(node, "url"));
            std::string title = CleanImportedName(StringField(node, "name"));
            if (title.empty()) {
                title = url.empty() ? std::string(kNoTextName) : url;
            }
            tree.AddItem(next.Parent, std::move(title), std::move(url), VisitTime(node));
        } else if (IsFolder(node)) {
            push(node, tree.AddFolder(next.Parent, CleanImportedFolderName(StringField(node, "name"))));
        }
    }
}

} // namespace

TBookmarkTree ParseChromiumBookmarks(std::string_view json, const std::string& path) {
    const TJson doc = TJson::parse(json, nullptr, false);
    if (doc.is_discarded()) {
        throw EBookmarkStoreError(Quoted(path) + " は壊れているため読み込めません。");
    }
    const auto roots = doc.is_object() ? doc.find("roots") : doc.end();
    if (!doc.is_object() || roots == doc.end() || !roots->is_object()) {
        throw EBookmarkStoreError(Quoted(path) + " は Chromium のブックマークのファイルではありません。");
    }
    TBookmarkTree tree;
    for (const TRoot& root : kRoots) {
        const auto found = roots->find(root.Key);
        if (found != roots->end() && found->is_object() && HasContent(*found)) {
            AddFolder(tree, *found, std::string(root.Name));
        }
    }
    return tree;
}

TBookmarkTree ReadChromiumBookmarks(const std::string& path) {
    return ParseChromiumBookmarks(ReadStoreFile(path), path);
}

} // namespace hv

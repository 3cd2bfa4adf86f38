#include "importexport/Favorites.h"

#include "importexport/Shortcut.h"
#include "model/HVFolder.h"
#include "model/Names.h"
#include "platform/UserPrompts.h"
#include "settings/RegistryStore.h"
#include "text/Encoding.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace hv {

namespace fs = std::filesystem;

namespace {

struct TEntry {
    std::string Name; // as the file system spells it
    bool Directory = false;
};

// The visible entries of dir in name order; nothing when it cannot be read.
std::vector<TEntry> ListDirectory(const std::string& dir) {
    std::vector<TEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') {
            continue;
        }
        std::error_code typeError;
        entries.push_back({std::move(name), it->is_directory(typeError)});
    }
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Name < b.Name; });
    return entries;
}

std::string FolderNameOf(const std::string& dirName) {
    return FolderNameWithYen(SanitizeLine(DecodeUtf8(dirName)));
}

} // namespace

std::string FindFavoritesFolder(const TRegistryStore& store, const std::string& home) {
    if (auto value = store.ReadValue(kShellFoldersKey, kFavoritesValue)) {
        if ((value->Kind == TRegValueKind::String || value->Kind == TRegValueKind::ExpandString) &&
            !value->Data.empty()) {
            return value->Data;
        }
    }
    return home + "/Favorites";
}

bool CanImportFavoritesInto(const THVFolder& target) {
    return target.ChildCount() == 0;
}

bool ImportFavoritesTree(THVFolder& target, const std::string& dir) {
    bool modified = false;
    // Directories already read, by device and inode: a link back up the tree must not make the
    // walk endless.
    std::set<std::pair<dev_t, ino_t>> seen;
    std::vector<std::pair<THVFolder*, std::string>> stack{{&target, dir}};
    while (!stack.empty()) {
        auto [folder, path] = std::move(stack.back());
        stack.pop_back();
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !seen.emplace(info.st_dev, info.st_ino).second) {
            continue;
        }
        std::vector<std::pair<THVFolder*, std::string>> below;
        for (const TEntry& entry : ListDirectory(path)) {
            const std::string full = path + "/" + entry.Name;
            if (entry.Directory) {
                const std::string name = FolderNameOf(entry.Name);
                THVFolder* child = folder->FindChild(name);
                if (child == nullptr) {
                    child = folder->AddChild(name);
                    modified = true;
                }
                below.emplace_back(child, full);
            } else if (const std::string name = ShortcutName(entry.Name); !name.empty()) {
                THVItem* item = folder->List().Add(SanitizeLine(DecodeUtf8(name)));
                item->SetURL(SanitizeLine(ReadShortcutURL(full)));
                MakeUniqueName(*item);
                modified = true;
            }
        }
        // Depth first, the first directory read first.
        stack.insert(stack.end(), below.rbegin(), below.rend());
    }
    target.SortChildrenRecursive();
    return modified;
}

bool ImportFavorites(THVFolder& target, const std::string& dir, TUserPrompts& prompts) {
    const std::string caption(kImpFavoritesCaption);
    if (!CanImportFavoritesInto(target)) {
        prompts.Warning(std::string(kFavoritesHasSubfolders), caption);
        return false;
    }
    std::string question(kFavoritesImportQuestion);
    question.replace(question.find("%s"), 2, target.Name());
    if (!prompts.YesNo(question, caption)) {
        return false;
    }
    bool modified = false;
    if (!dir.empty()) {
        modified = ImportFavoritesTree(target, dir);
    }
    target.SetExpanded(true);
    prompts.Information(std::string(kFavoritesImportDone));
    return modified;
}

} // namespace hv

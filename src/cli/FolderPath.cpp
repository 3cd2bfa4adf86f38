#include "FolderPath.h"

#include "model/FolderPath.h"
#include "model/HVFolder.h"

#include <ostream>

namespace hv::cli {

std::string RenderFolderPath(const THVFolder& folder) {
    return FolderPath(folder);
}

THVFolder* SelectFolder(THVFolder& root, std::string_view path, TCommandIO& io) {
    THVFolder* found = nullptr;
    TPathTracker paths;
    // ForEachFolder cannot stop early; once found, the rest of the walk only skips.
    ForEachFolder(root, [&](THVFolder& folder, int level) {
        if (found == nullptr && paths.Enter(folder, level) == path) {
            found = &folder;
        }
    });
    if (found == nullptr) {
        io.Err << "フォルダ '" << path << "' が見つかりません。\n";
    }
    return found;
}

} // namespace hv::cli

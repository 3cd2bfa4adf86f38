#include "FolderPath.h"

#include "Arguments.h"
#include "model/FolderPath.h"
#include "model/HVFolder.h"
#include "text/Encoding.h"

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

THVFolder* SelectFolderOption(THVFolder& root, const TParsedArgs& parsed, TCommandIO& io) {
    if (auto path = parsed.Value("--folder")) {
        return SelectFolder(root, DecodeUtf8(*path), io);
    }
    return &root;
}

} // namespace hv::cli

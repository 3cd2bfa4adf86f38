#pragma once

#include "Command.h"

#include <string>
#include <string_view>

namespace hv {
class THVFolder;
}

namespace hv::cli {

// PATH as hvtool prints and takes it: the folder names from the root down joined by "\",
// starting with the root's caption "Hollyvine".
std::string RenderFolderPath(const THVFolder& folder);

// The folder of "--folder PATH": the first folder, in pre-order, whose rendered path equals
// path. When there is none, "フォルダ '%s' が見つかりません。" goes to io.Err and the result is
// nullptr.
THVFolder* SelectFolder(THVFolder& root, std::string_view path, TCommandIO& io);

} // namespace hv::cli

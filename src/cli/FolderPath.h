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

struct TParsedArgs;

// The folder a command works on: the one "--folder PATH" names, or root without the option;
// nullptr (reported as SelectFolder does) when PATH names no folder.
THVFolder* SelectFolderOption(THVFolder& root, const TParsedArgs& parsed, TCommandIO& io);

} // namespace hv::cli

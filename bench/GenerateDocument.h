#pragma once

#include "model/HVFolder.h"

#include <memory>

// The large document the benchmarks work on: 100,000 items in 1,000 folders (100 top-level
// folders of 9 subfolders each), names of about 20 characters (a third Japanese), URLs of about
// 60 characters, a two-line memo on every fifth item, a command on every tenth, a schedule on
// every twentieth. The same tree on every call.

namespace hv::bench {

constexpr int kTopFolders = 100;
constexpr int kSubFoldersEach = 9;
constexpr int kItemsPerFolder = 100; // 1,000 folders x 100 = 100,000 items
constexpr int kGeneratedItems = kTopFolders * (kSubFoldersEach + 1) * kItemsPerFolder;

// The tree under a root captioned "Hollyvine".
std::unique_ptr<THVFolder> GenerateDocument();

} // namespace hv::bench

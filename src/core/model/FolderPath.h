#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

class THVFolder;

// Folder paths as the search windows and hvtool show them: the folder names from the root
// down (the root's own caption first), joined by "\". An item of the root shows the root's
// caption alone.
inline constexpr char kPathDelimiter = '\\';

std::string FolderPath(const THVFolder& folder);

// The folder a shown path leads to from root, for opening a search result: the first element
// (the root's caption) is skipped and each further element names a child folder, letter case
// ignored the way the user's locale does; a child whose name is exactly the element wins over
// an earlier one that differs only in case. nullptr when the path leads nowhere.
THVFolder* FolderByPath(THVFolder& root, std::string_view path);

// The paths of the folders of a pre-order walk (ForEachFolder), each made from its parent's:
// a walk over a deep tree does not build every path from the root again.
class TPathTracker {
public:
    // The path of folder, met at level in the walk; the folder of level 0 (where the walk
    // starts) has its path rendered in full.
    const std::string& Enter(const THVFolder& folder, int level);
    const std::string& Path() const { return m_Path; }

private:
    std::string m_Path;
    std::vector<std::size_t> m_Ends; // m_Ends[level]: length of the path of that level's folder
};

} // namespace hv

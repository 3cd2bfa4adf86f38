#pragma once

#include <string>
#include <string_view>

namespace hv {

class THVItem;

// The settings that decide the order of a folder's items.
struct TItemOrder {
    enum : int { ByName = 0, ByURL = 1, ByLastVisited = 2 };
    int SortType = ByName;
    bool SortDescending = false;
    // Sorting by access time counts never-visited items as visited after all others.
    bool NewItemAtBottom = true;
};

// <0, 0 or >0 as a sorts before, with or after b.
int CompareItems(const THVItem& a, const THVItem& b, const TItemOrder& order);

// Names compared the way the user's locale orders file names: both lower-cased, then
// collated. Used for item names and folder names.
int CompareNames(std::string_view a, std::string_view b);
// A byte string whose plain byte order is the order of CompareNames (without the final
// tie-break), so long lists are sorted without collating the same name again and again.
std::string NameSortKey(std::string_view name);

} // namespace hv

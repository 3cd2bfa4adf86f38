#pragma once

#include <string_view>

namespace hv {

class THVFolder;

// What a merge changed.
struct TMergeStats {
    int NewFolders = 0;
    int NewItems = 0;
    // Items already there whose last visit the merged record made later.
    int UpdatedItems = 0;

    bool Changed() const { return NewFolders + NewItems + UpdatedItems > 0; }
};

// Adds the folder and item records of a document body to the tree of root.
//
// Folder records are placed by their level as the reader does ("\" in names becoming "￥",
// same-named folders found case-insensitively, a new folder put in name order when
// sortFolders is on); each folder a record leads to is brought into view (its parents are
// expanded). An item record whose title names an item of the current folder (IndexOfName) with
// exactly the same URL is that item: it only takes the record's LastVisited when that is later
// (an empty or unreadable one counts as 0). Any other item record is read as a new item, its
// name made unique.
//
// Throws EConvertError for a level that is no number or climbs above root, and for a memo that
// breaks the quoting; what was merged before stays, and stats tells what that was.
void MergeRecords(std::string_view body, THVFolder& root, bool sortFolders, TMergeStats& stats);

} // namespace hv

#pragma once

#include "search/ResultRows.h"
#include "text/CaseMapping.h"

#include <string>
#include <string_view>

namespace hv {

inline constexpr std::string_view kDupStatusSearching = "検索中...";
inline constexpr std::string_view kDupStatusFinished = "検索完了";

// One occurrence of an address in a group of duplicates: the item's URL (Command -1) or the
// command line of its command number Command.
struct TDupRow {
    THVFolder* Folder = nullptr;
    THVItem* Item = nullptr;
    int Command = -1;
    std::string CommandTitle; // the command column; empty for the URL
    std::string Name;         // the item's name
    TSharedPath Path;         // the folder column
    TSharedPath Key;          // the URL column: the address as the group's first occurrence spells it
    int Group = 0;            // the rows of one group share the number; groups count from 0

    const std::string& FolderPath() const;
    const std::string& URL() const;
    bool IsCommand() const { return Command >= 0; }
};

// The duplicate-URL window's result list.
class TDupResults : public TResultRows<TDupRow> {
public:
    // Finds every address that occurs two or more times below start (start alone unless
    // subFolders), counting command lines too when commands is set, and replaces the rows with
    // their groups. The folders are walked depth first, a folder's items before its subfolders;
    // an item gives its URL, then its command lines in order. Groups come in the order of their
    // first occurrence, rows of a group in the order met. Addresses are compared ignoring letter
    // case the way mapper's locale folds it, and nothing else: no trimming, no trailing "/"
    // rule. Empty addresses group like any other.
    void Search(THVFolder& start, bool subFolders, bool commands, const TCaseMapper& mapper = UserCaseMapper());

    // Opening row: its folder, and its item when the item is still in that folder's list.
    struct TOpenTarget {
        THVFolder* Folder = nullptr;
        THVItem* Item = nullptr;
    };
    TOpenTarget OpenRow(int row) const;
};

} // namespace hv

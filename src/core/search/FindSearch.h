#pragma once

#include "model/FolderPath.h"
#include "search/FindCondition.h"
#include "search/FindHistory.h"
#include "search/ItemNotices.h"
#include "search/ResultRows.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hv {

class TUserPrompts;

inline constexpr std::string_view kFindStatusSearching = "検索中...";
inline constexpr std::string_view kFindStatusFinished = "検索終了";

// One row of the find results: the item, its name as the caption, the path of its folder and
// its URL, as they were when it was found.
struct TFindRow {
    THVItem* Item = nullptr;
    std::string Name;
    TSharedPath Path;
    std::string URL;

    const std::string& FolderPath() const;
};

// The find window's result list, with its sort order.
class TFindResults : public TResultRows<TFindRow> {
public:
    enum : int { ColName = 0, ColFolder = 1, ColURL = 2 };

    int SortColumn() const { return m_SortColumn; }
    bool SortDescending() const { return m_SortDescending; }
    // A click on a column header: sorts by that column ascending, or toggles the direction when
    // it is the sort column already. Texts compare byte by byte (a prefix first); descending is
    // the exact reverse of ascending. Returns the status line ("名前順（昇順）").
    std::string ClickColumn(int column);
    void ResetSort() { m_SortColumn = -1, m_SortDescending = false; }

    // Makes row index refer to item (found again when the row was opened).
    void RefreshRowItem(int index, THVItem* item) { SetRowItem(index, item); }

private:
    int m_SortColumn = -1;
    bool m_SortDescending = false;
};

// The count label: "%d個 (%d個選択)".
std::string FindCountText(int rows, int selected);

// What to search for and where.
struct TFindRequest {
    std::string Text; // as typed; characters below code 32 are removed
    TFindSubject Subject = TFindSubject::Name;
    TFindType Type = TFindType::Contains;
    bool DiscriminateCase = false;
    TFindRange Range = TFindRange::CurrentFolder;
    bool IncludeSubFolder = true;
    THVFolder* Root = nullptr;    // the document's root: all folders
    THVFolder* Current = nullptr; // the folder selected in the main window
};

// How a search reports its progress and hands control out while it runs.
struct TFindProgress {
    // A new status line: "検索中...", "検索中... 30%", "検索中... 残り 120", "検索終了".
    std::function<void(const std::string&)> Status;
    // Called before every item and after every folder (after every row within the result
    // list): the window handles its pending events here. Meanwhile items and folders may be
    // freed or moved (through the notices), rows removed, and Cancel called.
    std::function<void()> Poll;
};

enum class TFindOutcome { Busy, NoText, Finished, Cancelled, Running };

// The item whose name is name in list: an exact match, else the first whose name differs only
// in letter case (as the user's locale sees it); nullptr when none.
THVItem* FindItemByCaption(const THVList& list, std::string_view name);

// The find window's logic: the search, its history and results, cancelling, closing and
// opening a result.
class TFindSearch : private TItemNoticeListener {
public:
    // notices: the hub of the document's item notices (nullptr when nothing changes the tree).
    explicit TFindSearch(TUserPrompts& prompts, TItemNotices* notices = nullptr);
    TFindSearch(const TFindSearch&) = delete;
    TFindSearch& operator=(const TFindSearch&) = delete;
    ~TFindSearch() override;

    TFindResults& Results() { return m_Results; }
    const TFindResults& Results() const { return m_Results; }
    TFindHistory& History() { return m_History; }
    const TFindHistory& History() const { return m_History; }

    // Runs a search. A new search (current folder, with or without its subfolders, or all
    // folders, in pre-order) empties the results and appends a row per matching item; a search
    // within the result list tests the rows from the last to the first and removes those that
    // no longer match. The cleaned text goes to the top of the history. Busy when a search runs
    // already (a Poll started another); NoText, after the message, when the text is empty.
    TFindOutcome Search(const TFindRequest& request, const TFindProgress& progress = {});
    bool Searching() const { return m_Searching; }

    // The same search run in slices from the window's event loop, so that the window stays
    // responsive without nesting event loops. Start begins it (Running; or Busy or NoText at
    // once, as Search); each Continue runs it on for at most maxSteps steps (a folder entered
    // or an item or row tested) and returns Running while there is more to do, else how it
    // ended, after the status "検索終了" and, when cancelled, the message. Between the calls
    // the tree may change (through the notices), rows may go, and Cancel may be called.
    // progress.Poll is not called.
    TFindOutcome Start(const TFindRequest& request, const TFindProgress& progress = {});
    TFindOutcome Continue(int maxSteps);

    // Asks a running search to stop.
    void Cancel() { m_CancelRequested = m_Searching; }
    // Whether the window may close now. While a search runs it asks the user; on yes the
    // search is cancelled and CloseRequested() tells the window to close once it has stopped.
    bool QueryClose();
    bool CloseRequested() const { return m_CloseRequested; }

    // Sorts by a column (see TFindResults::ClickColumn); nothing while a search runs, since a
    // search within the list walks the rows in their order.
    std::optional<std::string> ClickColumn(int column);

    // Opening row: the folder its path leads to from root, and the item named as the row's
    // caption there, which the row then refers to. A missing folder or item is reported.
    struct TOpenTarget {
        THVFolder* Folder = nullptr;
        THVItem* Item = nullptr;
    };
    TOpenTarget OpenRow(int row, THVFolder& root);

private:
    // One step of the walk up to the next point where control may be handed out; false when
    // the walk is over.
    bool Advance();
    bool AdvanceFolders();
    bool AdvanceResultList();
    void CollectFolders(const TFindRequest& request);
    TFindOutcome Finish(TFindOutcome outcome);
    void ResetWalk();
    void Report(const std::string& status) const;

    void ItemFreed(THVItem* item) override;
    void ItemMoved(THVItem* oldItem, THVItem* newItem, THVFolder* newFolder) override;
    void FolderFreed(THVFolder* folder) override;

    TUserPrompts& m_Prompts;
    TFindResults m_Results;
    TFindHistory m_History;
    bool m_Searching = false;
    bool m_CancelRequested = false;
    bool m_CloseRequested = false;
    TFindProgress m_Progress;
    std::optional<TFindCondition> m_Condition;
    bool m_InList = false; // refining the result list rather than walking folders

    // The walk of a running search, kept right when the tree changes under it.
    std::vector<THVFolder*> m_Folders; // freed ones become nullptr
    std::unordered_map<const THVFolder*, std::size_t> m_FolderIndex;
    THVList* m_WalkList = nullptr; // the list being walked; nullptr once freed
    int m_WalkIndex = 0;           // the index of its next item
    bool m_InFolder = false;       // m_FolderPos has been entered
    std::vector<int> m_Levels;     // the depth of each folder of m_Folders
    std::size_t m_FolderPos = 0;   // the folder being walked, or the next one to enter
    TPathTracker m_Paths;
    TSharedPath m_Path; // the path of the folder being walked, once a row needs it
    std::string m_LastStatus;

    TNoticeSubscription m_ResultsSubscription;
    TNoticeSubscription m_WalkSubscription;
};

} // namespace hv

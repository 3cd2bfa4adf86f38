#include "search/FindSearch.h"

#include "model/FolderPath.h"
#include "model/HVFolder.h"
#include "platform/UserPrompts.h"

#include <utility>

namespace hv {

namespace {

constexpr std::string_view kNoText = "検索文字列が指定されていません。";
constexpr std::string_view kCancelled = "検索を中止しました。";
constexpr std::string_view kConfirmStop = "検索を中止してよろしいですか？";
constexpr std::string_view kFolderMissing =
    "フォルダ '%s' が見つかりません。検索終了後に移動か削除、または名前を変更されたものと思われます。";
constexpr std::string_view kItemMissing =
    "アイテム '%s' が見つかりません。検索終了後に移動か削除、または名前を変更されたものと思われます。";

std::string WithArgument(std::string_view format, std::string_view argument) {
    std::string text(format);
    text.replace(text.find("%s"), 2, argument);
    return text;
}

const std::string kEmpty;

} // namespace

const std::string& TFindRow::FolderPath() const {
    return Path ? *Path : kEmpty;
}

std::string TFindResults::ClickColumn(int column) {
    static constexpr std::string_view kCaptions[] = {"名前", "フォルダ", "URL"};
    if (column < ColName || column > ColURL) {
        return {};
    }
    m_SortDescending = column == m_SortColumn && !m_SortDescending;
    m_SortColumn = column;
    auto key = [column](const TFindRow& row) -> const std::string& {
        return column == ColName ? row.Name : (column == ColFolder ? row.FolderPath() : row.URL);
    };
    // std::string compares as unsigned bytes, a proper prefix first.
    StableSortRows([&key](const TFindRow& a, const TFindRow& b) { return key(a) < key(b); }, m_SortDescending);
    return std::string(kCaptions[column]) + (m_SortDescending ? "順（降順）" : "順（昇順）");
}

std::string FindCountText(int rows, int selected) {
    return std::to_string(rows) + "個 (" + std::to_string(selected) + "個選択)";
}

THVItem* FindItemByCaption(const THVList& list, std::string_view name) {
    const TCaseMapper& mapper = UserCaseMapper();
    std::string wanted;
    std::string folded;
    THVItem* similar = nullptr;
    for (const auto& item : list) {
        if (item->GetName() == name) {
            return item.get();
        }
        if (similar == nullptr) {
            if (wanted.empty()) {
                mapper.FoldInto(name, wanted);
            }
            mapper.FoldInto(item->GetName(), folded);
            if (folded == wanted) {
                similar = item.get();
            }
        }
    }
    return similar;
}

TFindSearch::TFindSearch(TUserPrompts& prompts, TItemNotices* notices)
    : m_Prompts(prompts), m_ResultsSubscription(notices, &m_Results), m_WalkSubscription(notices, this) {}

TFindSearch::~TFindSearch() = default;

TFindOutcome TFindSearch::Search(const TFindRequest& request, const TFindProgress& progress) {
    const TFindOutcome started = Start(request, progress);
    if (started != TFindOutcome::Running) {
        return started;
    }
    try {
        while (Advance()) {
            if (progress.Poll) {
                progress.Poll();
            }
            if (m_CancelRequested) {
                return Finish(TFindOutcome::Cancelled);
            }
        }
    } catch (...) {
        m_Searching = false;
        ResetWalk();
        throw;
    }
    return Finish(TFindOutcome::Finished);
}

TFindOutcome TFindSearch::Start(const TFindRequest& request, const TFindProgress& progress) {
    if (m_Searching) {
        return TFindOutcome::Busy;
    }
    m_Progress = progress;
    m_CancelRequested = false;
    m_CloseRequested = false;
    m_Condition.emplace(request.Subject, request.Type, request.Text, request.DiscriminateCase);
    if (m_Condition->IsEmpty()) {
        m_Condition.reset();
        m_Prompts.Information(std::string(kNoText));
        Report(std::string(kFindStatusFinished));
        return TFindOutcome::NoText;
    }
    m_Searching = true;
    m_History.Add(m_Condition->Text());
    Report(std::string(kFindStatusSearching));
    m_InList = request.Range == TFindRange::ResultList;
    if (m_InList) {
        // The cursor stands just past the last row: each step moves it up by one.
        m_Results.SetCursor(m_Results.Count());
    } else {
        m_Results.ResetSort();
        m_Results.Clear();
        CollectFolders(request);
    }
    return TFindOutcome::Running;
}

TFindOutcome TFindSearch::Continue(int maxSteps) {
    if (!m_Searching) {
        return TFindOutcome::Finished;
    }
    try {
        for (int step = 0; step < maxSteps; ++step) {
            if (m_CancelRequested) {
                return Finish(TFindOutcome::Cancelled);
            }
            if (!Advance()) {
                return Finish(TFindOutcome::Finished);
            }
        }
    } catch (...) {
        m_Searching = false;
        ResetWalk();
        throw;
    }
    return m_CancelRequested ? Finish(TFindOutcome::Cancelled) : TFindOutcome::Running;
}

TFindOutcome TFindSearch::Finish(TFindOutcome outcome) {
    m_Searching = false;
    ResetWalk();
    Report(std::string(kFindStatusFinished));
    if (outcome == TFindOutcome::Cancelled && !m_CloseRequested) {
        m_Prompts.Information(std::string(kCancelled));
    }
    return outcome;
}

void TFindSearch::ResetWalk() {
    m_Folders.clear();
    m_FolderIndex.clear();
    m_Levels.clear();
    m_FolderPos = 0;
    m_WalkList = nullptr;
    m_WalkIndex = 0;
    m_InFolder = false;
    m_Path.reset();
    m_LastStatus.clear();
    m_Results.SetCursor(-1);
}

void TFindSearch::Report(const std::string& status) const {
    if (m_Progress.Status) {
        m_Progress.Status(status);
    }
}

bool TFindSearch::QueryClose() {
    if (!m_Searching) {
        return true;
    }
    if (m_Prompts.YesNo(std::string(kConfirmStop))) {
        m_CancelRequested = true;
        m_CloseRequested = true;
    }
    return false;
}

std::optional<std::string> TFindSearch::ClickColumn(int column) {
    if (m_Searching) {
        return std::nullopt;
    }
    return m_Results.ClickColumn(column);
}

void TFindSearch::CollectFolders(const TFindRequest& request) {
    THVFolder* start = request.Range == TFindRange::AllFolders ? request.Root : request.Current;
    if (start == nullptr) {
        return;
    }
    if (request.Range == TFindRange::AllFolders || request.IncludeSubFolder) {
        ForEachFolder(*start, [this](THVFolder& folder, int level) {
            m_Folders.push_back(&folder);
            m_Levels.push_back(level);
        });
    } else {
        m_Folders.push_back(start);
        m_Levels.push_back(0);
    }
    for (std::size_t i = 0; i < m_Folders.size(); ++i) {
        m_FolderIndex.emplace(m_Folders[i], i);
    }
}

bool TFindSearch::Advance() {
    return m_InList ? AdvanceResultList() : AdvanceFolders();
}

// The points where control is handed out: on entering a folder (before its first item), after
// each item, and once more when the folder is done.
bool TFindSearch::AdvanceFolders() {
    if (!m_InFolder) {
        while (m_FolderPos < m_Folders.size() && m_Folders[m_FolderPos] == nullptr) {
            ++m_FolderPos; // freed while the search ran
        }
        if (m_FolderPos >= m_Folders.size()) {
            return false;
        }
        const std::size_t count = m_Folders.size();
        std::string status =
            std::string(kFindStatusSearching) + ' ' + std::to_string(m_FolderPos * 10 / count * 10) + '%';
        if (status != m_LastStatus) {
            Report(status);
            m_LastStatus = std::move(status);
        }
        THVFolder* folder = m_Folders[m_FolderPos];
        m_Paths.Enter(*folder, m_Levels[m_FolderPos]);
        m_Path.reset();
        m_WalkList = &folder->List();
        m_WalkIndex = 0;
        m_InFolder = true;
        return true;
    }
    if (m_WalkList == nullptr || m_WalkIndex >= m_WalkList->Count()) {
        m_WalkList = nullptr;
        m_InFolder = false;
        ++m_FolderPos;
        return true;
    }
    THVItem* item = m_WalkList->Items(m_WalkIndex++);
    if (m_Condition->Matches(*item)) {
        if (!m_Path) {
            m_Path = std::make_shared<const std::string>(m_Paths.Path());
        }
        m_Results.Append(TFindRow{item, item->GetName(), m_Path, item->GetURL()});
    }
    return true;
}

bool TFindSearch::AdvanceResultList() {
    m_Results.SetCursor(m_Results.Cursor() - 1);
    const int index = m_Results.Cursor();
    if (index < 0) {
        return false;
    }
    if (index % 10 == 0) {
        Report(std::string(kFindStatusSearching) + " 残り " + std::to_string(index));
    }
    if (!m_Condition->Matches(*m_Results.Row(index).Item)) {
        m_Results.RemoveRow(index);
    }
    return true;
}

TFindSearch::TOpenTarget TFindSearch::OpenRow(int row, THVFolder& root) {
    if (row < 0 || row >= m_Results.Count()) {
        return {};
    }
    const TFindRow& found = m_Results.Row(row);
    THVFolder* folder = FolderByPath(root, found.FolderPath());
    if (folder == nullptr) {
        m_Prompts.Warning(WithArgument(kFolderMissing, found.FolderPath()));
        return {};
    }
    THVItem* item = FindItemByCaption(folder->List(), found.Name);
    if (item == nullptr) {
        m_Prompts.Warning(WithArgument(kItemMissing, found.Name));
        return {folder, nullptr};
    }
    m_Results.RefreshRowItem(row, item);
    return {folder, item};
}

void TFindSearch::ItemFreed(THVItem* item) {
    if (m_WalkList == nullptr || item == nullptr || item->Owner() != m_WalkList) {
        return;
    }
    const int index = m_WalkList->IndexOf(item);
    if (index >= 0 && index < m_WalkIndex) {
        --m_WalkIndex; // the items after it move up by one
    }
}

void TFindSearch::ItemMoved(THVItem* oldItem, THVItem*, THVFolder*) {
    ItemFreed(oldItem);
}

void TFindSearch::FolderFreed(THVFolder* folder) {
    if (folder == nullptr || m_Folders.empty()) {
        return;
    }
    ForEachFolder(*folder, [this](THVFolder& f, int) {
        if (auto it = m_FolderIndex.find(&f); it != m_FolderIndex.end()) {
            m_Folders[it->second] = nullptr;
        }
        if (&f.List() == m_WalkList) {
            m_WalkList = nullptr;
        }
    });
}

} // namespace hv

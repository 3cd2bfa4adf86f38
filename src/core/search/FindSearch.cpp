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

void Report(const TFindProgress& progress, const std::string& status) {
    if (progress.Status) {
        progress.Status(status);
    }
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
    if (m_Searching) {
        return TFindOutcome::Busy;
    }
    m_Searching = true;
    m_CancelRequested = false;
    m_CloseRequested = false;
    TFindOutcome outcome = TFindOutcome::Finished;
    try {
        outcome = Run(request, progress);
    } catch (...) {
        m_Searching = false;
        m_Folders.clear();
        m_FolderIndex.clear();
        m_WalkList = nullptr;
        throw;
    }
    m_Searching = false;
    m_Folders.clear();
    m_FolderIndex.clear();
    m_WalkList = nullptr;
    Report(progress, std::string(kFindStatusFinished));
    if (outcome == TFindOutcome::Cancelled && !m_CloseRequested) {
        m_Prompts.Information(std::string(kCancelled));
    }
    return outcome;
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

TFindOutcome TFindSearch::Run(const TFindRequest& request, const TFindProgress& progress) {
    const TFindCondition condition(request.Subject, request.Type, request.Text, request.DiscriminateCase);
    if (condition.IsEmpty()) {
        m_Prompts.Information(std::string(kNoText));
        return TFindOutcome::NoText;
    }
    m_History.Add(condition.Text());
    Report(progress, std::string(kFindStatusSearching));
    if (request.Range == TFindRange::ResultList) {
        return SearchResultList(condition, progress);
    }
    return SearchFolders(request, condition, progress);
}

bool TFindSearch::PollAndCheck(const TFindProgress& progress) {
    if (progress.Poll) {
        progress.Poll();
    }
    return !m_CancelRequested;
}

TFindOutcome TFindSearch::SearchFolders(const TFindRequest& request, const TFindCondition& condition,
                                        const TFindProgress& progress) {
    m_Results.ResetSort();
    m_Results.Clear();
    THVFolder* start = request.Range == TFindRange::AllFolders ? request.Root : request.Current;
    if (start == nullptr) {
        return TFindOutcome::Finished;
    }
    std::vector<int> levels;
    if (request.Range == TFindRange::AllFolders || request.IncludeSubFolder) {
        ForEachFolder(*start, [this, &levels](THVFolder& folder, int level) {
            m_Folders.push_back(&folder);
            levels.push_back(level);
        });
    } else {
        m_Folders.push_back(start);
        levels.push_back(0);
    }
    for (std::size_t i = 0; i < m_Folders.size(); ++i) {
        m_FolderIndex.emplace(m_Folders[i], i);
    }

    TPathTracker paths;
    std::string lastStatus;
    const std::size_t count = m_Folders.size();
    for (std::size_t i = 0; i < count; ++i) {
        THVFolder* folder = m_Folders[i];
        if (folder == nullptr) {
            continue; // freed while the search ran
        }
        std::string status = std::string(kFindStatusSearching) + ' ' + std::to_string(i * 10 / count * 10) + '%';
        if (status != lastStatus) {
            Report(progress, status);
            lastStatus = std::move(status);
        }
        const std::string& path = paths.Enter(*folder, levels[i]);
        TSharedPath sharedPath;
        m_WalkList = &folder->List();
        m_WalkIndex = 0;
        while (true) {
            if (!PollAndCheck(progress)) {
                return TFindOutcome::Cancelled;
            }
            if (m_WalkList == nullptr || m_WalkIndex >= m_WalkList->Count()) {
                break;
            }
            THVItem* item = m_WalkList->Items(m_WalkIndex++);
            if (condition.Matches(*item)) {
                if (!sharedPath) {
                    sharedPath = std::make_shared<const std::string>(path);
                }
                m_Results.Append(TFindRow{item, item->GetName(), sharedPath, item->GetURL()});
            }
        }
        m_WalkList = nullptr;
        if (!PollAndCheck(progress)) {
            return TFindOutcome::Cancelled;
        }
    }
    return TFindOutcome::Finished;
}

TFindOutcome TFindSearch::SearchResultList(const TFindCondition& condition, const TFindProgress& progress) {
    for (m_Results.SetCursor(m_Results.Count() - 1); m_Results.Cursor() >= 0;
         m_Results.SetCursor(m_Results.Cursor() - 1)) {
        const int index = m_Results.Cursor();
        if (index % 10 == 0) {
            Report(progress, std::string(kFindStatusSearching) + " 残り " + std::to_string(index));
        }
        if (!condition.Matches(*m_Results.Row(index).Item)) {
            m_Results.RemoveRow(index);
        }
        if (!PollAndCheck(progress)) {
            return TFindOutcome::Cancelled;
        }
    }
    return TFindOutcome::Finished;
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

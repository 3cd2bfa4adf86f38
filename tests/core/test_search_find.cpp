#include "FakePrompts.h"
#include "model/HVFolder.h"
#include "search/FindSearch.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace hv {
namespace {

using TStrings = std::vector<std::string>;

using test::TFakePrompts;
using TKind = TFakePrompts::TKind;
using TRecords = std::vector<TFakePrompts::TRecord>;

THVItem* AddItem(THVFolder& folder, const std::string& name, const std::string& url = {}) {
    THVItem* item = folder.List().Add();
    item->SetName(name);
    item->SetURL(url);
    return item;
}

// Every "news" row of the tree below, and the status lines of a search through its four folders.
const TStrings kAllNews = {"Hollyvine|r1 news", "Hollyvine\\A|a1 news", "Hollyvine\\A\\Sub|s1 NEWS",
                           "Hollyvine\\B|b1 News"};
const TStrings kFourFolders = {"検索中...",     "検索中... 0%",  "検索中... 20%",
                               "検索中... 50%", "検索中... 70%", "検索終了"};

// Hollyvine (r1) / A (a1, a2) / A\Sub (s1) ; B (b1)
class TFindSearchTest : public ::testing::Test {
protected:
    TFindSearchTest() {
        AddItem(m_Root, "r1 news");
        m_A = m_Root.AddChild("A");
        AddItem(*m_A, "a1 news");
        AddItem(*m_A, "a2");
        m_Sub = m_A->AddChild("Sub");
        AddItem(*m_Sub, "s1 NEWS");
        m_B = m_Root.AddChild("B");
        AddItem(*m_B, "b1 News");
    }

    TFindRequest Request(std::string text, TFindRange range, THVFolder* current = nullptr) {
        TFindRequest request;
        request.Text = std::move(text);
        request.Range = range;
        request.Root = &m_Root;
        request.Current = current;
        return request;
    }

    TStrings Rows() const {
        TStrings rows;
        for (const TFindRow& row : m_Search.Results().Rows()) {
            rows.push_back(row.FolderPath() + "|" + row.Name);
        }
        return rows;
    }

    TFindProgress Recording() {
        return {[this](const std::string& s) { m_Status.push_back(s); }, {}};
    }
    // Calls onPoll with the number of each poll, counted in m_Polls.
    TFindProgress Polling(std::function<void(int)> onPoll) {
        return {{}, [this, onPoll] { onPoll(++m_Polls); }};
    }

    THVFolder m_Root{"Hollyvine"};
    THVFolder* m_A;
    THVFolder* m_Sub;
    THVFolder* m_B;
    TItemNotices m_Notices;
    TFakePrompts m_Prompts;
    TFindSearch m_Search{m_Prompts, &m_Notices};
    TStrings m_Status;
    int m_Polls = 0;
};

TEST_F(TFindSearchTest, RangesAreWalkedInPreOrderWithProgressInWholeTensOfPercent) {
    EXPECT_EQ(m_Search.Search(Request("news", TFindRange::AllFolders), Recording()), TFindOutcome::Finished);
    EXPECT_EQ(Rows(), kAllNews);
    EXPECT_EQ(m_Status, kFourFolders); // 0, 2 (10 * 1 / 4 = 2), 5 and 7 tenths
    TFindRequest request = Request("news", TFindRange::CurrentFolder, m_A);
    m_Search.Search(request);
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine\\A|a1 news", "Hollyvine\\A\\Sub|s1 NEWS"}));
    request.IncludeSubFolder = false;
    m_Search.Search(request);
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine\\A|a1 news"}));
    EXPECT_TRUE(m_Prompts.Records.empty());
}

TEST_F(TFindSearchTest, AnEmptyTextIsReportedAndSearchesNothing) {
    m_Search.Search(Request("news", TFindRange::AllFolders));
    EXPECT_EQ(m_Search.Search(Request("\t\r\n", TFindRange::AllFolders), Recording()), TFindOutcome::NoText);
    EXPECT_EQ(m_Prompts.Records, (TRecords{{TKind::Information, "検索文字列が指定されていません。", "Hollyvine"}}));
    EXPECT_EQ(m_Status, (TStrings{"検索終了"}));
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_EQ(m_Search.History().Items(), (TStrings{"news"}));
}

TEST_F(TFindSearchTest, SearchingWithinTheListKeepsOnlyRowsThatStillMatch) {
    EXPECT_EQ(m_Search.Search(Request("x", TFindRange::ResultList), Recording()), TFindOutcome::Finished);
    EXPECT_EQ(m_Status, (TStrings{"検索中...", "検索終了"})); // an empty list ends at once
    m_Status.clear();
    for (int i = 0; i < 21; ++i) {
        AddItem(*m_B, "item " + std::to_string(i) + (i % 2 == 0 ? " even" : ""));
    }
    m_Search.Search(Request("item", TFindRange::CurrentFolder, m_B));
    ASSERT_EQ(Rows().size(), 21u);
    m_Search.Search(Request("EVEN", TFindRange::ResultList), Recording());
    ASSERT_EQ(Rows().size(), 11u);
    EXPECT_EQ(Rows().front(), "Hollyvine\\B|item 0 even");
    EXPECT_EQ(Rows().back(), "Hollyvine\\B|item 20 even");
    EXPECT_EQ(m_Status,
              (TStrings{"検索中...", "検索中... 残り 20", "検索中... 残り 10", "検索中... 残り 0", "検索終了"}));
    EXPECT_EQ(m_Search.History().Items(), (TStrings{"EVEN", "item", "x"}));
}

TEST_F(TFindSearchTest, CancellingKeepsTheRowsFoundSoFar) {
    const TFindProgress progress = Polling([&](int poll) {
        if (poll == 5) { // A's first item is tested, the second not
            m_Search.Cancel();
        }
    });
    EXPECT_EQ(m_Search.Search(Request("news", TFindRange::AllFolders), progress), TFindOutcome::Cancelled);
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine|r1 news", "Hollyvine\\A|a1 news"}));
    EXPECT_EQ(m_Prompts.Records, (TRecords{{TKind::Information, "検索を中止しました。", "Hollyvine"}}));
}

TEST_F(TFindSearchTest, ClosingWhileSearchingAsksAndClosesWithoutTheCancelMessage) {
    m_Prompts.YesNoAnswers = {false, true}; // go on the first time, stop the second
    const TFindProgress progress = Polling([&](int poll) {
        if (poll == 2 || poll == 5) {
            EXPECT_FALSE(m_Search.QueryClose());
        }
    });
    EXPECT_EQ(m_Search.Search(Request("news", TFindRange::AllFolders), progress), TFindOutcome::Cancelled);
    EXPECT_TRUE(m_Search.CloseRequested());
    EXPECT_EQ(Rows().size(), 2u);
    EXPECT_EQ(m_Prompts.Records, TRecords(2, {TKind::YesNo, "検索を中止してよろしいですか？", "Hollyvine"}));
    EXPECT_TRUE(m_Search.QueryClose());
}

TEST_F(TFindSearchTest, ASecondSearchStartedWhileOneRunsIsRefused) {
    TFindOutcome inner = TFindOutcome::Finished;
    const TFindProgress progress = Polling([&](int) {
        if (inner == TFindOutcome::Finished) {
            inner = m_Search.Search(Request("a2", TFindRange::AllFolders));
        }
    });
    m_Search.Search(Request("news", TFindRange::AllFolders), progress);
    EXPECT_EQ(inner, TFindOutcome::Busy);
    EXPECT_EQ(Rows().size(), 4u);
}

TEST_F(TFindSearchTest, RowsFollowItemsThatAreFreedOrMoved) {
    m_Search.Search(Request("news", TFindRange::AllFolders));
    THVItem* a1 = m_A->List().Items(0);
    m_Notices.ItemFreed(a1);
    m_A->List().Delete(0);
    THVItem* b1 = m_B->List().Items(0);
    THVItem* moved = AddItem(*m_Sub, "b1 News~1");
    m_Notices.ItemMoved(b1, moved, m_Sub);
    m_B->List().Delete(0);
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine|r1 news", "Hollyvine\\A\\Sub|s1 NEWS", "Hollyvine\\A\\Sub|b1 News~1"}));
    EXPECT_EQ(m_Search.Results().Row(2).Item, moved);
    m_Notices.SubtreeFreed(m_A);
    m_Root.DeleteChild(m_A);
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine|r1 news"}));
}

TEST_F(TFindSearchTest, RowsFollowRenamedItemsAndFolders) {
    m_Search.Search(Request("news", TFindRange::AllFolders));
    THVItem* s1 = m_Sub->List().Items(0);
    s1->SetName("s1 renamed");
    s1->SetURL("http://new.example/");
    m_Notices.ItemChanged(s1);
    m_A->SetName("Alpha");
    m_Notices.FolderChanged(m_A);
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine|r1 news", "Hollyvine\\Alpha|a1 news", "Hollyvine\\Alpha\\Sub|s1 renamed",
                                "Hollyvine\\B|b1 News"}));
    EXPECT_EQ(m_Search.Results().Row(2).URL, "http://new.example/");
}

TEST_F(TFindSearchTest, TheTreeMayChangeWhileTheSearchHandsOutControl) {
    for (int i = 0; i < 5; ++i) {
        AddItem(*m_A, "extra news " + std::to_string(i));
    }
    const TFindProgress progress = Polling([&](int poll) {
        if (poll == 6) { // A's first two items are tested
            m_Notices.ItemFreed(m_A->List().Items(0));
            m_A->List().Delete(0);
            m_Notices.SubtreeFreed(m_B);
            m_Root.DeleteChild(m_B);
        }
    });
    m_Search.Search(Request("news", TFindRange::AllFolders), progress);
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine|r1 news", "Hollyvine\\A|extra news 0", "Hollyvine\\A|extra news 1",
                                "Hollyvine\\A|extra news 2", "Hollyvine\\A|extra news 3", "Hollyvine\\A|extra news 4",
                                "Hollyvine\\A\\Sub|s1 NEWS"}));
}

TEST_F(TFindSearchTest, RowsFreedDuringARefinementDoNotDisturbIt) {
    for (int i = 0; i < 6; ++i) {
        AddItem(*m_B, "keep " + std::to_string(i));
    }
    m_Search.Search(Request("e", TFindRange::AllFolders));
    ASSERT_EQ(Rows().size(), 10u);
    const TFindProgress progress = Polling([&](int poll) {
        if (poll == 2) { // free a row below the one being tested
            m_Notices.ItemFreed(m_A->List().Items(0));
            m_A->List().Delete(0);
        }
    });
    m_Search.Search(Request("keep", TFindRange::ResultList), progress);
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine\\B|keep 0", "Hollyvine\\B|keep 1", "Hollyvine\\B|keep 2",
                                "Hollyvine\\B|keep 3", "Hollyvine\\B|keep 4", "Hollyvine\\B|keep 5"}));
    EXPECT_EQ(m_Polls, 9); // ten rows, one of them gone before its turn
}

TEST_F(TFindSearchTest, OpeningARowFindsItsFolderAndItemIgnoringCase) {
    m_Search.Search(Request("s1", TFindRange::AllFolders));
    // The folder was renamed and the item replaced by one whose name differs in case only.
    m_Sub->SetName("SUB");
    AddItem(*m_Sub, "other");
    THVItem* replacement = AddItem(*m_Sub, "S1 news");
    m_Sub->List().Delete(0);
    TFindSearch::TOpenTarget target = m_Search.OpenRow(0, m_Root);
    EXPECT_EQ(target.Folder, m_Sub);
    EXPECT_EQ(target.Item, replacement);
    EXPECT_EQ(m_Search.Results().Row(0).Item, replacement);
    EXPECT_TRUE(m_Prompts.Records.empty());
}

TEST_F(TFindSearchTest, OpeningAStaleRowExplainsWhatIsMissing) {
    m_Search.Search(Request("news", TFindRange::CurrentFolder, m_A));
    m_A->List().Items(0)->SetName("renamed");
    EXPECT_EQ(m_Search.OpenRow(0, m_Root).Item, nullptr);
    m_A->SetName("Other");
    EXPECT_EQ(m_Search.OpenRow(1, m_Root).Folder, nullptr);
    EXPECT_EQ(m_Prompts.Records,
              (TRecords{{TKind::Warning,
                         "アイテム 'a1 news' が見つかりません。検索終了後に移動か削除、または名前を変更されたものと"
                         "思われます。",
                         "Hollyvine"},
                        {TKind::Warning,
                         "フォルダ 'Hollyvine\\A\\Sub' が見つかりません。検索終了後に移動か削除、または名前を変更"
                         "されたものと思われます。",
                         "Hollyvine"}}));
}

TEST_F(TFindSearchTest, SortsByColumnsBytewiseAndReversesExactly) {
    AddItem(*m_B, "News");
    AddItem(*m_B, "news");
    m_Search.Search(Request("news", TFindRange::AllFolders));
    EXPECT_EQ(m_Search.ClickColumn(TFindResults::ColName), "名前順（昇順）");
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine\\B|News", "Hollyvine\\A|a1 news", "Hollyvine\\B|b1 News",
                                "Hollyvine\\B|news", "Hollyvine|r1 news", "Hollyvine\\A\\Sub|s1 NEWS"}));
    const TStrings ascending = Rows();
    EXPECT_EQ(m_Search.ClickColumn(TFindResults::ColName), "名前順（降順）");
    EXPECT_EQ(Rows(), TStrings(ascending.rbegin(), ascending.rend()));
    EXPECT_EQ(m_Search.ClickColumn(TFindResults::ColFolder), "フォルダ順（昇順）");
    EXPECT_EQ(Rows().front(), "Hollyvine|r1 news"); // a prefix comes first
}

TEST_F(TFindSearchTest, ASlicedSearchFindsWhatABlockingOneFinds) {
    EXPECT_EQ(m_Search.Start(Request("news", TFindRange::AllFolders), Recording()), TFindOutcome::Running);
    EXPECT_TRUE(m_Search.Searching());
    int slices = 1;
    while (m_Search.Continue(2) == TFindOutcome::Running) {
        ++slices;
    }
    EXPECT_GT(slices, 3);
    EXPECT_FALSE(m_Search.Searching());
    EXPECT_EQ(Rows(), kAllNews);
    EXPECT_EQ(m_Status, kFourFolders);
    EXPECT_EQ(m_Search.Start(Request("", TFindRange::AllFolders)), TFindOutcome::NoText);
    EXPECT_EQ(m_Search.Start(Request("A", TFindRange::ResultList)), TFindOutcome::Running);
    EXPECT_EQ(m_Search.Start(Request("B", TFindRange::ResultList)), TFindOutcome::Busy);
    while (m_Search.Continue(1) == TFindOutcome::Running) {
    }
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine\\A|a1 news"}));
}

TEST_F(TFindSearchTest, BetweenSlicesTheTreeMayChangeAndTheSearchBeCancelled) {
    m_Search.Start(Request("news", TFindRange::AllFolders));
    m_Search.Continue(3); // the root entered, r1 tested, the root done
    m_Notices.SubtreeFreed(m_A);
    m_Root.DeleteChild(m_A);
    m_Search.Continue(2); // B entered, b1 tested
    m_Search.Cancel();
    EXPECT_EQ(m_Search.Continue(100), TFindOutcome::Cancelled);
    EXPECT_EQ(Rows(), (TStrings{"Hollyvine|r1 news", "Hollyvine\\B|b1 News"}));
    EXPECT_EQ(m_Prompts.Records, (TRecords{{TKind::Information, "検索を中止しました。", "Hollyvine"}}));
    EXPECT_EQ(m_Search.Continue(1), TFindOutcome::Finished); // nothing runs any more
}

} // namespace
} // namespace hv

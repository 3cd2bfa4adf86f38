#include "LifecycleTestSupport.h"
#include "document/Merge.h"

namespace hv::test {
namespace {

using TKind = TFakePrompts::TKind;
using TRecord = TFakePrompts::TRecord;

// --- the same-item rule -------------------------------------------------------------------

TEST(MergeRecordsTest, OnlyALaterVisitIsTakenFromTheSameItem) {
    const TDateTime old = EncodeDateTime(2024, 3, 1, 12, 0);
    const TDateTime later = EncodeDateTime(2024, 3, 1, 12, 1);
    const struct {
        std::string Record;
        std::vector<std::string> Names;
        TDateTime Visit; // of the item that was there
    } cases[] = {
        {ItemRecord("Page", "http://x/A", "LastVisited=2024/3/1 12:01\r\nMemo=\"x\"\r\n"), {"Page"}, later},
        {ItemRecord("Page", "http://x/A", "LastVisited=2024/2/1 9:00\r\n"), {"Page"}, old},
        {ItemRecord("Page", "http://x/A"), {"Page"}, old},
        // Opening such a file reads the date as 0; merging it must not fail half-way either.
        {ItemRecord("Page", "http://x/A", "LastVisited=yesterday\r\n"), {"Page"}, old},
        {ItemRecord("PAGE", "http://x/A", "LastVisited=2024/3/1 12:01\r\n"), {"Page"}, later},
        {ItemRecord("Page", "http://x/a"), {"Page", "Page~1"}, old},
        {ItemRecord("Other", "http://x/A"), {"Page", "Other"}, old},
    };
    for (const auto& c : cases) {
        THVFolder root;
        THVItem* item = root.List().Add();
        item->SetName("Page");
        item->SetURL("http://x/A");
        item->SetMemo("kept");
        item->SetLastVisited(old);
        TMergeStats stats;
        MergeRecords(c.Record, root, false, stats);
        std::vector<std::string> names;
        for (const auto& i : root.List()) {
            names.push_back(i->GetName());
        }
        EXPECT_EQ(names, c.Names) << c.Record;
        EXPECT_EQ(item->GetLastVisited(), c.Visit) << c.Record;
        EXPECT_EQ(item->GetMemo(), "kept");
    }
}

// --- folders ------------------------------------------------------------------------------

TEST(MergeRecordsTest, FoldersArePlacedByLevelAndFoundCaseInsensitively) {
    THVFolder root;
    THVFolder* news = root.AddChild("News");
    root.AddChild("zeta");
    TMergeStats stats;
    MergeRecords(FolderRecord(1, "NEWS") + ItemRecord("n", "u") + FolderRecord(2, "a\\b") + FolderRecord(1, "alpha"),
                 root, true, stats);
    ASSERT_EQ(root.ChildCount(), 3);
    EXPECT_EQ(root.Child(0)->Name(), "alpha") << "a new folder is put in name order when SortFolder is on";
    EXPECT_EQ(news->List().Items(0)->GetName(), "n");
    ASSERT_EQ(news->ChildCount(), 1);
    EXPECT_EQ(news->Child(0)->Name(), "a\xEF\xBF\xA5"
                                      "b");
    EXPECT_TRUE(root.Expanded());
    EXPECT_TRUE(news->Expanded()) << "merged folders are brought into view";
    EXPECT_EQ(stats.NewFolders, 2);
    EXPECT_EQ(stats.NewItems, 1);
}

// --- through the document -----------------------------------------------------------------

class TMergeTest : public TLifecycleTest {
protected:
    void SetUp() override {
        TLifecycleTest::SetUp();
        Put("doc.hv", kHeader1 + ItemRecord("a", "http://a/", "LastVisited=2024/3/1 12:00\r\n") + FolderRecord(1, "f") +
                          ItemRecord("a", "http://b/") + ItemRecord("a~1", "http://c/") + FolderRecord(2, "g") +
                          FolderRecord(1, "h"));
        ASSERT_TRUE(m_Doc->Open(PathOf("doc.hv")));
        m_View.Events.clear();
    }
};

TEST_F(TMergeTest, MergingTheDocumentIntoItselfOnlySetsTheMark) {
    const std::string before = BuildDocumentBytes(m_Doc->Root(), "");
    ASSERT_TRUE(m_Doc->Merge(PathOf("doc.hv")));
    EXPECT_EQ(BuildDocumentBytes(m_Doc->Root(), ""), before);
    EXPECT_TRUE(m_Doc->Modified());
    EXPECT_EQ(m_Prompts.Only(), (TRecord{TKind::Information, "マージが完了しました。", "Hollyvine"}));
    EXPECT_EQ(m_View.Events, (std::vector<std::string>{"busy", "tree-", "tree+", "idle"}));
    EXPECT_EQ(m_View.Captions.end()[-2], "マージ処理中...");
    EXPECT_EQ(m_View.Captions.back(), "Hollyvine - doc.hv(更新)");
}

TEST_F(TMergeTest, FailuresReportTheirMessage) {
    Put("note.txt", "no document\r\n");
    Put("broken.hv", kHeader1 + ItemRecord("new", "u") + FolderRecord(0, "x"));
    Put("level.hv", kHeader1 + "[Folder]\r\nLevel=one\r\nName=x\r\n\r\n");
    struct TCase {
        std::string Name;
        std::string Text;
        bool Modified;
    } cases[] = {
        {"note.txt", "ファイル \"%s\" はHollyvine のドキュメントではありません。", false},
        {"missing.hv", "ファイル \"%s\" のマージに失敗しました。", false},
        {"level.hv", "ファイル \"%s\" のマージに失敗しました。", false},
        // The item merged before the broken record stays, and the mark says the tree changed.
        {"broken.hv", "ファイル \"%s\" のマージに失敗しました。", true},
    };
    for (TCase& c : cases) {
        m_Prompts.Records.clear();
        EXPECT_FALSE(m_Doc->Merge(PathOf(c.Name)));
        EXPECT_EQ(m_Prompts.Only(),
                  (TRecord{TKind::Warning, c.Text.replace(c.Text.find("%s"), 2, PathOf(c.Name)), "Hollyvine"}));
        EXPECT_EQ(m_Doc->Modified(), c.Modified) << c.Name;
    }
    EXPECT_EQ(m_Doc->Root().List().Items(1)->GetName(), "new");
}

} // namespace
} // namespace hv::test

#include "Errors.h"
#include "TempDir.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace hv;

TEST(MakeUniqueName, AppendsTheSmallestFreeSuffixOrLeavesAFreeNameAlone) {
    THVList list;
    list.Add("a");
    list.Add("A~1");
    THVItem* item = list.Add("A");
    MakeUniqueName(*item);
    EXPECT_EQ(item->GetName(), "A~2");
    THVItem* free = list.Add("b");
    MakeUniqueName(*free);
    EXPECT_EQ(free->GetName(), "b");
}

TEST(MakeUniqueName, ReusesASuffixThatWasFreedAgain) {
    THVList list;
    list.Add("x");
    for (int i = 0; i < 3; ++i) {
        MakeUniqueName(*list.Add("x"));
    }
    ASSERT_EQ(list.Items(2)->GetName(), "x~2");
    list.Items(2)->Delete();
    THVItem* again = list.Add("X");
    MakeUniqueName(*again);
    EXPECT_EQ(again->GetName(), "X~2");
    list.Items(1)->SetName("renamed"); // frees x~1
    THVItem* third = list.Add("x");
    MakeUniqueName(*third);
    EXPECT_EQ(third->GetName(), "x~1");
}

TEST(MakeUniqueName, ManyEqualNamesStayCheap) {
    // Quadratic suffix searches would make this take minutes.
    THVList list;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        MakeUniqueName(*list.Add("same"));
    }
    EXPECT_EQ(list.Items(n - 1)->GetName(), "same~" + std::to_string(n - 1));
    EXPECT_EQ(list.CountOfName("SAME~123"), 1u);
}

TEST(NewItemName, StartsAtTwoWhenUntitledIsTaken) {
    THVList list;
    EXPECT_EQ(NewItemName(list), "(Untitled)");
    list.Add("(untitled)");
    EXPECT_EQ(NewItemName(list), "(Untitled)~2");
    list.Add("(Untitled)~2");
    EXPECT_EQ(NewItemName(list), "(Untitled)~3");
}

TEST(THVList, IndexOfNameFindsTheHighestIndexAndFoldsOnlyAsciiLetters) {
    THVList list;
    list.Add("Dup");
    list.Add("other");
    list.Add("dUP");
    list.Add("\xC3\x84");     // Ä
    list.Add("\xEF\xBC\xA1"); // full-width Ａ
    EXPECT_EQ(list.IndexOfName("dup"), 2);
    EXPECT_EQ(list.IndexOfName("OTHER"), 1);
    EXPECT_EQ(list.IndexOfName("\xC3\xA4"), -1);     // ä is not Ä
    EXPECT_EQ(list.IndexOfName("\xEF\xBD\x81"), -1); // full-width ａ is not Ａ
    EXPECT_EQ(list.IndexOfName("missing"), -1);
}

TEST(THVList, IsNameFreeAcceptsTheItemsOwnName) {
    THVList list;
    THVItem* a = list.Add("a");
    THVItem* b = list.Add("b");
    EXPECT_TRUE(list.IsNameFree(a, "A"));
    EXPECT_FALSE(list.IsNameFree(b, "A"));
    EXPECT_TRUE(list.IsNameFree(b, "c"));
}

TEST(THVList, RenamingAndDeletingKeepTheNameIndexCurrent) {
    THVList list;
    THVItem* a = list.Add("old");
    a->SetName("new");
    EXPECT_EQ(list.IndexOfName("old"), -1);
    EXPECT_EQ(list.IndexOfName("NEW"), 0);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOfName("new"), -1);
    EXPECT_THROW(list.Items(0), EHVError);
}

TEST(THVList, ExtractDetachesWithoutFreeing) {
    THVList list;
    THVItem* a = list.Add("a");
    list.Add("b");
    std::unique_ptr<THVItem> taken = list.Extract(a);
    ASSERT_EQ(taken.get(), a);
    EXPECT_EQ(taken->Owner(), nullptr);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.IndexOfName("a"), -1);
}

TEST(THVItem, AssignCopiesEveryField) {
    THVList list;
    THVItem* src = list.Add("src");
    src->SetURL("http://example.com/");
    src->SetMemo("line1\r\nline2");
    src->SetSchedule("毎日");
    src->SetLastVisited(45000.5);
    src->SetIconRaw("C:\\Windows\\x.exe", 3);
    TCmdItem& cmd = src->GetCommands().Add();
    cmd.Title = "t";
    cmd.CommandLine = "c";
    cmd.UpdateLastVisited = true;

    THVItem* dst = list.Add();
    dst->Assign(*src);
    EXPECT_EQ(dst->GetName(), "src");
    EXPECT_EQ(dst->GetURL(), "http://example.com/");
    EXPECT_EQ(dst->GetMemo(), "line1\r\nline2");
    EXPECT_EQ(dst->GetSchedule(), "毎日");
    EXPECT_EQ(dst->GetLastVisited(), 45000.5);
    EXPECT_EQ(dst->GetIconFile(), "C:\\Windows\\x.exe");
    EXPECT_EQ(dst->GetIconIndex(), 3);
    ASSERT_EQ(dst->GetCommands().Count(), 1);
    EXPECT_EQ(dst->GetCommands().Items(0), cmd);
    EXPECT_EQ(list.CountOfName("src"), 2u);
}

TEST(THVItem, SetIconFileStoresAnAbsolutePathAndResetsTheIndex) {
    namespace fs = std::filesystem;
    THVList list;
    THVItem* item = list.Add();
    item->SetIconIndex(5);
    item->SetIconFile("no-such-dir/../missing.ico");
    EXPECT_EQ(item->GetIconFile(), (fs::current_path() / "missing.ico").string());
    EXPECT_EQ(item->GetIconIndex(), -1);

    const hv::test::TTempDir temp("hv_icon_test");
    const fs::path& dir = temp.Path();
    fs::create_directories(dir / "sub");
    std::ofstream(dir / "real.ico") << "x";
    item->SetIconFile((dir / "sub" / ".." / "real.ico").string());
    EXPECT_EQ(item->GetIconFile(), fs::canonical(dir / "real.ico").string());
}

TEST(TCmdList, TextFormAndCount) {
    TCmdItem cmd{"a", "b", true};
    EXPECT_EQ(cmd.GetText(), "a\tb\tV");
    cmd.UpdateLastVisited = false;
    EXPECT_EQ(cmd.GetText(), "a\tb");

    TCmdList list;
    list.SetCount(2);
    list.Items(0).Title = "keep";
    list.SetCount(3);
    list.SetCount(1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0).Title, "keep");
}

#include "BookmarkTestSupport.h"
#include "exchange/DropEffect.h"
#include "exchange/Paste.h"
#include "importexport/DesktopLink.h"
#include "model/HVFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace hv {
namespace {

using test::Outline;

TPasteData OwnData(std::string bytes) {
    TPasteData data;
    data.Own = DecodeOwnData(bytes);
    return data;
}

TEST(ExchangePasteTest, CopiedItemsPastedBesideThemselvesGetNumberedNames) {
    THVFolder root;
    THVItem* a = root.List().Add("Alpha");
    a->SetURL("http://a/");
    THVItem* b = root.List().Add("Beta");
    b->SetURL("http://b/");
    const TPasteData data = OwnData(BuildOwnData({a, b}));
    EXPECT_EQ(PasteInto(data, root).Created, 2);
    EXPECT_EQ(Outline(root), "Alpha <http://a/>\nBeta <http://b/>\nAlpha~1 <http://a/>\nBeta~1 <http://b/>\n");
}

TEST(ExchangePasteTest, PastedFolderMergesIntoSameNamedSubFolderIgnoringCase) {
    THVFolder source;
    THVFolder* news = source.AddChild("News");
    news->List().Add("Daily")->SetURL("http://d/");
    news->AddChild("Local")->List().Add("Town")->SetURL("http://t/");
    const std::string bytes = BuildOwnData(*news);

    THVFolder target;
    THVFolder* existing = target.AddChild("news");
    existing->List().Add("Daily");
    EXPECT_EQ(PasteInto(OwnData(bytes), target).Created, 3); // an item, a folder, an item
    EXPECT_EQ(Outline(target), "[news]\n  Daily <>\n  Daily~1 <http://d/>\n  [Local]\n    Town <http://t/>\n");
}

TEST(ExchangePasteTest, FolderPastedIntoItselfMakesACopyInside) {
    THVFolder root;
    THVFolder* f = root.AddChild("F");
    f->List().Add("Item");
    PasteInto(OwnData(BuildOwnData(*f)), *f);
    EXPECT_EQ(Outline(*f), "Item <>\n[F]\n  Item <>\n");
}

TEST(ExchangePasteTest, OwnDataInCp932WithTerminatorIsRead) {
    // "[Item]" "Title=日本" in Shift_JIS, closed by a NUL as Windows hands it over.
    std::string bytes = "[Item]\r\nTitle=\x93\xFA\x96\x7B\r\nURL=http://jp/\r\n\r\n";
    bytes += '\0';
    THVFolder root;
    EXPECT_EQ(PasteInto(OwnData(bytes), root).Created, 1);
    EXPECT_EQ(Outline(root), "日本 <http://jp/>\n");
}

TEST(ExchangePasteTest, BrokenOwnDataPastesNothing) {
    const char* broken[] = {
        "[Item]\r\nTitle=A\r\n\r\n[Folder]\r\nLevel=x\r\nName=F\r\n\r\n",
        "[Item]\r\nTitle=A\r\n\r\n[Item]\r\nTitle=B\r\nMemo=\"a\"b\r\n\r\n",
        "[Folder]\r\nLevel=1\r\nName=F\r\n\r\n[Folder]\r\nLevel=-3\r\nName=G\r\n\r\n",
        "just some text",
    };
    for (const char* bytes : broken) {
        THVFolder root;
        root.AddChild("Sub");
        EXPECT_EQ(PasteInto(OwnData(bytes), *root.Child(0)).Created, 0) << bytes;
        EXPECT_EQ(root.Child(0)->List().Count(), 0) << bytes;
        EXPECT_EQ(root.Child(0)->ChildCount(), 0) << bytes;
    }
}

TEST(ExchangePasteTest, LinksWithoutTitleAreUntitledThenNumberedFromTwo) {
    THVFolder root;
    TPasteData data;
    data.Links = {{"http://a/", ""}};
    PasteInto(data, root);
    PasteInto(data, root);
    data.Links = {{"http://b/", "Page"}, {"http://c/", "Page"}};
    PasteInto(data, root);
    EXPECT_EQ(Outline(root),
              "(Untitled) <http://a/>\n(Untitled)~2 <http://a/>\nPage <http://b/>\nPage~1 <http://c/>\n");
}

TEST(ExchangePasteTest, DescriptorNameRules) {
    EXPECT_EQ(DescriptorItemName("ｼｮｰﾄｶｯﾄ Example.url"), "Example");
    EXPECT_EQ(DescriptorItemName("Example.URL"), "Example");
    EXPECT_EQ(DescriptorItemName("page.htm"), "page.htm");
    EXPECT_EQ(DescriptorItemName("ｼｮｰﾄｶｯﾄ page.htm"), "page.htm");
    EXPECT_EQ(DescriptorItemName("a.url.url"), "a.url");
    EXPECT_EQ(DescriptorItemName("Example Domain"), "Example Domain");
    // Only at the start, and only with the blank.
    EXPECT_EQ(DescriptorItemName("ｼｮｰﾄｶｯﾄExample"), "ｼｮｰﾄｶｯﾄExample");
    EXPECT_EQ(DescriptorItemName("A ｼｮｰﾄｶｯﾄ B"), "A ｼｮｰﾄｶｯﾄ B");
    THVFolder root;
    EXPECT_EQ(LinkItemName(root.List(), ".url"), "(Untitled)");
    EXPECT_EQ(LinkItemName(root.List(), "Two\r\nlines"), "Two  lines");
}

using DroppedFileTest = test::TDirTest;

TEST_F(DroppedFileTest, ShortcutsAndLinkFilesBecomeItems) {
    TPasteData data;
    data.Files = {
        Put("News Site.url", "[InternetShortcut]\r\nURL=http://news/\r\n"),
        Put("Kde.desktop", "[Desktop Entry]\nType=Link\nURL[$e]=https://kde/\nName=KDE Home\nIcon=x\n"),
        Put("gnome-link.desktop", "[Desktop Entry]\nType=Link\nURL=https://gnome/\n"),
        Put("app.desktop", "[Desktop Entry]\nType=Application\nExec=x\nName=App\n"),
        Put("notes.txt", "hello"),
        Put("empty.url", "[InternetShortcut]\r\nURL=\r\n"),
        PathOf("missing.url"),
        m_Dir.string(),
    };
    THVFolder root;
    EXPECT_EQ(PasteInto(data, root).Created, 3);
    EXPECT_EQ(Outline(root), "News Site <http://news/>\nKDE Home <https://kde/>\ngnome-link <https://gnome/>\n");
}

TEST_F(DroppedFileTest, NonShortcutFilesAddNothing) {
    TPasteData data;
    data.Files = {Put("photo.jpg", std::string(1000, '\xFF')), Put("big.url", std::string(200000, 'x'))};
    const std::string fifo = PathOf("pipe.url");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    data.Files.push_back(fifo); // must not wait for a writer
    THVFolder root;
    EXPECT_EQ(PasteInto(data, root).Created, 0);
    EXPECT_EQ(root.List().Count(), 0);
}

TEST(DesktopLinkTest, ReadsOnlyLinkEntries) {
    auto link = ParseDesktopLink("# c\n[Desktop Entry]\nName = A\\sB\nType=Link\nURL=http://x/\n[Other]\nURL=y\n");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->Name, "A B");
    EXPECT_EQ(link->URL, "http://x/");
    EXPECT_FALSE(ParseDesktopLink("[Desktop Entry]\nType=Link\n"));
    EXPECT_FALSE(ParseDesktopLink("[Desktop Entry]\nType=Application\nURL=http://x/\n"));
    EXPECT_FALSE(ParseDesktopLink("[Other]\nType=Link\nURL=http://x/\n"));
    EXPECT_FALSE(ParseDesktopLink("[desktop entry]\nType=Link\nURL=http://x/\n"));
}

struct TEffectCase {
    const char* Label;
    TDragOrigin Origin;
    int Target; // 0 root, 1 selected folder S, 2 below S, 3 sibling of S
    TDropFormat Format;
    bool Ctrl, Shift;
    TDropEffect Effect;
};

class DropEffectTest : public ::testing::TestWithParam<TEffectCase> {};

TEST_P(DropEffectTest, FollowsTheRule) {
    THVFolder root;
    THVFolder* s = root.AddChild("S");
    THVFolder* below = s->AddChild("Below");
    THVFolder* sibling = root.AddChild("Sibling");
    const THVFolder* targets[] = {&root, s, below, sibling};
    const TEffectCase& c = GetParam();
    EXPECT_EQ(DropEffect(c.Origin, targets[c.Target], s, c.Format, c.Ctrl, c.Shift), c.Effect) << c.Label;
}

using O = TDragOrigin;
using F = TDropFormat;
using E = TDropEffect;
INSTANTIATE_TEST_SUITE_P(
    Table, DropEffectTest,
    ::testing::Values(TEffectCase{"FolderOnParent", O::FolderFromThisTree, 0, F::Own, true, false, E::None},
                      TEffectCase{"FolderOnItself", O::FolderFromThisTree, 1, F::Own, false, false, E::Copy},
                      TEffectCase{"FolderBelowItself", O::FolderFromThisTree, 2, F::Own, false, false, E::Copy},
                      TEffectCase{"FolderElsewhere", O::FolderFromThisTree, 3, F::Own, false, false, E::Move},
                      TEffectCase{"FolderCtrl", O::FolderFromThisTree, 3, F::Own, true, false, E::Copy},
                      TEffectCase{"FolderCtrlShift", O::FolderFromThisTree, 3, F::Own, true, true, E::Link},
                      TEffectCase{"FolderShift", O::FolderFromThisTree, 3, F::Own, false, true, E::Move},
                      TEffectCase{"ItemsOnOwnFolder", O::ItemsFromThisList, 1, F::Own, true, false, E::None},
                      TEffectCase{"ItemsElsewhere", O::ItemsFromThisList, 0, F::Own, false, false, E::Move},
                      TEffectCase{"ItemsCtrl", O::ItemsFromThisList, 2, F::Own, true, false, E::Copy},
                      TEffectCase{"OtherOwn", O::Elsewhere, 1, F::Own, false, false, E::Copy},
                      TEffectCase{"OtherOwnCtrl", O::Elsewhere, 1, F::Own, true, false, E::Copy},
                      TEffectCase{"OtherOwnShift", O::Elsewhere, 1, F::Own, false, true, E::Move},
                      TEffectCase{"OtherOwnCtrlShift", O::Elsewhere, 1, F::Own, true, true, E::Link},
                      TEffectCase{"OtherLink", O::Elsewhere, 1, F::Link, false, false, E::Link},
                      TEffectCase{"OtherFiles", O::Elsewhere, 0, F::Files, true, false, E::Link},
                      TEffectCase{"OtherNothing", O::Elsewhere, 0, F::None, false, false, E::None}),
    [](const auto& info) { return std::string(info.param.Label); });

} // namespace
} // namespace hv

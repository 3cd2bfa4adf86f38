#include "LifecycleTestSupport.h"

namespace hv::test {
namespace {

using TNames = std::vector<std::string>;

// --- recent files -------------------------------------------------------------------------

TEST_F(TLifecycleTest, RecentFilesKeepOneEntryPerFileOnDisk) {
    for (const char* name : {"a.hv", "b.hv", "c.hv"}) {
        Put(name, kHeader1);
    }
    std::filesystem::create_symlink("a.hv", PathOf("link.hv"));
    TRecentFiles recent;
    recent.Add(PathOf("a.hv"));
    recent.Add(PathOf("b.hv"));
    recent.Add(PathOf("gone.hv"));
    recent.Add(PathOf("c.hv"));
    EXPECT_EQ(recent.Items(), (TNames{PathOf("c.hv"), PathOf("b.hv"), PathOf("a.hv")})) << "missing files dropped";
    recent.Add(PathOf("link.hv"));
    EXPECT_EQ(recent.Items(), (TNames{PathOf("link.hv"), PathOf("c.hv"), PathOf("b.hv")}));
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(m_Dir);
    const std::string relative = "../" + m_Dir.filename().string() + "/./b.hv";
    recent.Add(relative);
    std::filesystem::current_path(cwd);
    EXPECT_EQ(recent.Items(), (TNames{relative, PathOf("link.hv"), PathOf("c.hv")}));

    ASSERT_TRUE(m_Doc->Open(PathOf("a.hv")));
    ASSERT_TRUE(m_Doc->Open(PathOf("b.hv")));
    ASSERT_TRUE(m_Doc->Open(PathOf("link.hv")));
    EXPECT_EQ(m_Doc->RecentFiles().Items(), (TNames{PathOf("link.hv"), PathOf("b.hv")}));
}

TEST_F(TLifecycleTest, RecentFilesShowAndStoreTheFirstEight) {
    TRecentFiles recent;
    std::string stored;
    for (int i = 0; i < 10; ++i) {
        Put(std::to_string(i) + ".hv", kHeader1);
        stored += (i > 0 ? ";" : "") + PathOf(std::to_string(i) + ".hv");
    }
    m_Settings->Set(opt::Main::RecentFiles, ";" + PathOf("gone.hv") + ";" + stored);
    recent.Load(*m_Settings);
    EXPECT_EQ(recent.Count(), 10);
    EXPECT_EQ(recent.MenuEntries().size(), 8u);
    EXPECT_EQ(TRecentFiles::MenuCaption("/d/x.hv", 3), "/d/x.hv(&3)");
    EXPECT_EQ(TRecentFiles::MenuHint("/d/x.hv"), "/d/x.hv を開きます");
    recent.Store(*m_Settings);
    EXPECT_EQ(m_Settings->Get(opt::Main::RecentFiles), stored.substr(0, stored.find(";" + PathOf("8.hv"))));

    m_Doc->MarkModified();
    EXPECT_FALSE(m_Doc->OpenRecent(PathOf("gone.hv")));
    EXPECT_EQ(m_Prompts.Only().Text, "ファイル \"" + PathOf("gone.hv") + "\" が見つかりません。");
    EXPECT_TRUE(m_Doc->Modified()) << "no save prompt for a file that is not there";
}

TEST_F(TLifecycleTest, FullFileNameResolvesLinksAndDots) {
    Put("a.hv", kHeader1);
    std::filesystem::create_symlink(m_Dir, PathOf("dirlink"));
    const std::string dir = std::filesystem::canonical(m_Dir).string();
    EXPECT_EQ(FullFileName(PathOf("dirlink/./x/../a.hv")), dir + "/a.hv");
    EXPECT_EQ(FullFileName(PathOf("dirlink/new.hv")), dir + "/new.hv");
    EXPECT_TRUE(SameFile(PathOf("dirlink/a.hv"), PathOf("a.hv")));
    EXPECT_FALSE(SameFile(PathOf("a.hv"), PathOf("A.hv")));
}

// --- view state ---------------------------------------------------------------------------

TEST(ViewStateTest, StoredTextAndWhatOthersWrite) {
    const TDateTime day = EncodeDateTime(2024, 11, 2, 23, 59);
    EXPECT_EQ(FormatViewState({0, {}}, day), "2024/11/2\r\nCollapsed=\r\n") << "a root selection is left out";
    EXPECT_EQ(FormatViewState({4, {1, 3}}, day), "2024/11/2\r\nSelected=4\r\nCollapsed=1,3\r\n");
    EXPECT_EQ(ParseViewState("2024/1/1\nselected=3\ncollapsed=1\n"), (TViewState{3, {1}}));
    EXPECT_EQ(ParseViewState("2024/1/1\r\nSelected=x\r\nCollapsed=1,,z,4\r\n"), (TViewState{0, {1, -1, -1, 4}}));
    EXPECT_EQ(ParseViewState(""), TViewState{});
}

// root(0) ─ a(1) ─ a1(2) ─ a11(3)
//         └ b(4) ─ b1(5)
std::unique_ptr<THVFolder> SampleTree() {
    auto root = std::make_unique<THVFolder>("Hollyvine");
    THVFolder* a = root->AddChild("a");
    a->AddChild("a1")->AddChild("a11");
    root->AddChild("b")->AddChild("b1");
    root->SetExpandedRecursive(true);
    return root;
}

TEST(ViewStateTest, ApplyingWalksTheListFromLeftToRight) {
    struct TCase {
        TViewState State;
        std::vector<int> Collapsed; // afterwards, as captured
        std::string Selected;
    } cases[] = {
        {{5, {1, 4}}, {1, 4}, "b1"},
        {{9, {2, 99}}, {2}, "Hollyvine"}, // positions the tree lacks are ignored
        {{-1, {4, 1}}, {4}, "Hollyvine"}, // out of order: 1 is never reached
        {{3, {-1, 1}}, {}, "a11"},        // an unreadable entry stops the list
    };
    for (const TCase& c : cases) {
        auto root = SampleTree();
        EXPECT_EQ(ApplyViewState(*root, c.State).Name(), c.Selected);
        EXPECT_EQ(CaptureViewState(*root, nullptr).Collapsed, c.Collapsed);
    }
}

TEST_F(TLifecycleTest, ViewStateSurvivesSavingAndOpening) {
    m_Doc->Root().AdoptChild(SampleTree()); // "Hollyvine" below the root: positions 1..6
    m_Doc->Root().SetExpanded(true);
    FolderAtPosition(m_Doc->Root(), 2)->SetExpanded(false);
    m_View.Selected = FolderAtPosition(m_Doc->Root(), 6);
    ASSERT_TRUE(m_Doc->SaveAs(PathOf("v.hv")));
    EXPECT_EQ(StoredViewState(PathOf("v.hv")), "2024/3/5\r\nSelected=6\r\nCollapsed=2\r\n");

    Put("plain.hv", kHeader1 + FolderRecord(1, "f") + FolderRecord(2, "g"));
    ASSERT_TRUE(m_Doc->Open(PathOf("plain.hv")));
    EXPECT_EQ(m_Doc->ViewState(), TViewState{});
    EXPECT_EQ(StoredViewState(PathOf("plain.hv")), "") << "an empty entry is made, as the program always did";
    EXPECT_TRUE(m_Doc->Root().Child(0)->Expanded());

    m_View.Selected = nullptr;
    ASSERT_TRUE(m_Doc->Open(PathOf("v.hv")));
    EXPECT_EQ(m_Doc->ViewState(), (TViewState{6, {2}}));
    EXPECT_FALSE(FolderAtPosition(m_Doc->Root(), 2)->Expanded());
    EXPECT_TRUE(FolderAtPosition(m_Doc->Root(), 5)->Expanded());
}

} // namespace
} // namespace hv::test

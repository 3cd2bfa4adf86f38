#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/ItemOrder.h"
#include "model/TreeEdits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

using namespace hv;

namespace {

// Writes down every notice as a short line.
class TRecorder final : public TTreeObserver {
public:
    std::vector<std::string> Log;

    void FolderAboutToBeInserted(THVFolder& parent, int index) override { Add("+folder? " + parent.Name(), index); }
    void FolderInserted(THVFolder& folder) override { Log.push_back("+folder " + folder.Name()); }
    void FolderAboutToBeRemoved(THVFolder& folder) override { Log.push_back("-folder? " + folder.Name()); }
    void FolderRemoved(THVFolder& parent, int index) override { Add("-folder " + parent.Name(), index); }
    void FolderAboutToBeMoved(THVFolder& folder, int to) override { Add("move? " + folder.Name(), to); }
    void FolderMoved(THVFolder& folder) override { Log.push_back("move " + folder.Name()); }
    void FolderChanged(THVFolder& folder) override { Log.push_back("changed " + folder.Name()); }
    void ChildrenAboutToBeSorted(THVFolder& parent) override { Log.push_back("sort? " + parent.Name()); }
    void ChildrenSorted(THVFolder& parent) override { Log.push_back("sort " + parent.Name()); }
    void ItemAboutToBeInserted(THVList& list, int index) override { Add("+item? " + list.Node()->Name(), index); }
    void ItemInserted(THVItem& item) override { Log.push_back("+item " + item.GetName()); }
    void ItemAboutToBeRemoved(THVItem& item) override { Log.push_back("-item? " + item.GetName()); }
    void ItemRemoved(THVList& list, int index) override { Add("-item " + list.Node()->Name(), index); }
    void ItemChanged(THVItem& item) override { Log.push_back("item " + item.GetName()); }
    void ItemsAboutToBeSorted(THVList& list) override { Log.push_back("sort items? " + list.Node()->Name()); }
    void ItemsSorted(THVList& list) override { Log.push_back("sort items " + list.Node()->Name()); }
    void ItemAboutToBeFreed(THVItem& item) override { Log.push_back("freed " + item.GetName()); }
    void FolderAboutToBeFreed(THVFolder& folder) override { Log.push_back("freed folder " + folder.Name()); }
    void ItemMoved(THVItem& oldItem, THVItem& newItem, THVFolder& folder) override {
        Log.push_back("moved " + oldItem.GetName() + " > " + folder.Name() + "/" + newItem.GetName());
    }

private:
    void Add(const std::string& text, int index) { Log.push_back(text + " " + std::to_string(index)); }
};

struct TTree {
    TTree() { Edits.AddObserver(&Recorder); }
    THVItem* Item(THVFolder& folder, const char* name) {
        THVItem* item = folder.List().Add(name);
        item->SetMemo(std::string("memo of ") + name);
        return item;
    }
    static std::vector<std::string> Names(const THVFolder& folder) {
        std::vector<std::string> names;
        for (const auto& item : folder.List()) {
            names.push_back(item->GetName());
        }
        return names;
    }
    static std::vector<std::string> Children(const THVFolder& folder) {
        std::vector<std::string> names;
        std::ranges::transform(folder.Children(), std::back_inserter(names), [](const auto& c) { return c->Name(); });
        return names;
    }

    THVFolder Root{"Hollyvine"};
    TTreeEdits Edits;
    TRecorder Recorder;
};

using TLog = std::vector<std::string>;
using TNames = std::vector<std::string>;

const char* const kFolderTaken =
    "フォルダ名 '技術' は既に使われています。\n\n１つのフォルダに同じ名前のサブフォルダを複数作ることはできません。"
    "半角アルファベットの大文字・小文字は同一視されます。";

const char* const kItemTaken =
    "アイテム名 'BETA' は既に使われています。\n\n１つのフォルダに同じ名前のアイテムを複数作ることはできません。"
    "半角アルファベットの大文字・小文字は同一視されます。";

TEST(TTreeEdits, RenamesFollowTheNameRules) {
    struct TCase {
        bool Folder; // renames the folder ニュース beside 技術, else the item gamma beside Beta
        const char* Typed;
        const char* Stored;
        const char* Message;
        bool Changed;
    };
    const TCase cases[] = {
        {true, "世界", "世界", "", true},
        {true, "a\\b", "a￥b", "", true},
        {true, "\t\x02", "ニュース", "名前が入力されていません。", false},
        {true, "技術", "ニュース", kFolderTaken, false},
        {true, "ニュース", "ニュース", "", false},
        {false, "omega", "omega", "", true},
        {false, "om\tega\x01", "omega", "", true},
        {false, "a\\b", "a\\b", "", true},
        {false, "\t", "gamma", "名前が入力されていません。", false},
        {false, "BETA", "gamma", kItemTaken, false},
        {false, "GAMMA", "GAMMA", "", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Typed);
        TTree t;
        THVFolder* news = t.Root.AddChild("ニュース");
        t.Root.AddChild("技術");
        t.Item(t.Root, "Beta");
        THVItem* gamma = t.Item(t.Root, "gamma");
        const TRenameResult result =
            c.Folder ? t.Edits.RenameFolder(*news, c.Typed, false) : t.Edits.RenameItem(*gamma, c.Typed);
        EXPECT_EQ(c.Folder ? news->Name() : gamma->GetName(), c.Stored);
        EXPECT_EQ(result.Message, c.Message);
        EXPECT_EQ(result.Changed, c.Changed);
        const std::string notice = c.Folder ? "changed " + news->Name() : "item " + gamma->GetName();
        EXPECT_EQ(t.Recorder.Log, c.Changed ? TLog{notice} : TLog{});
        EXPECT_EQ(t.Root.List().FindByName(gamma->GetName()), gamma);
    }
}

TEST(TTreeEdits, RenamedFolderTakesItsPlaceWhenSorted) {
    TTree t;
    THVFolder* a = t.Root.AddChild("a");
    t.Root.AddChild("m");
    EXPECT_TRUE(t.Edits.RenameFolder(*a, "z", true).Changed);
    EXPECT_EQ(TTree::Children(t.Root), (TNames{"m", "z"}));
    EXPECT_EQ(t.Recorder.Log, (TLog{"changed z", "sort? Hollyvine", "sort Hollyvine"}));
    // The root has no name to change.
    EXPECT_FALSE(t.Edits.RenameFolder(t.Root, "x", true).Changed);
}

TEST(TTreeEdits, AddFolderInsertsAtTheEndThenSortsAndRefusesTakenNames) {
    TTree t;
    t.Root.AddChild("b");
    THVFolder* added = t.Edits.AddFolder(t.Root, "a", true);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(TTree::Children(t.Root), (TNames{"a", "b"}));
    EXPECT_EQ(t.Recorder.Log, (TLog{"+folder? Hollyvine 1", "+folder a", "sort? Hollyvine", "sort Hollyvine"}));
    t.Recorder.Log.clear();
    EXPECT_EQ(t.Edits.AddFolder(t.Root, "B", false), nullptr);
    EXPECT_EQ(t.Edits.AddFolder(t.Root, "", false), nullptr);
    EXPECT_EQ(t.Edits.AddFolder(*added, "b", false)->Parent(), added);
    EXPECT_EQ(t.Recorder.Log, (TLog{"+folder? a 0", "+folder b"}));
    // Removed observers hear nothing.
    t.Edits.RemoveObserver(&t.Recorder);
    t.Edits.AddFolder(t.Root, "c", false);
    EXPECT_EQ(t.Recorder.Log.size(), 2U);
}

TEST(TTreeEdits, DeleteFolderAnnouncesEveryItemBelowItThenTheFolder) {
    TTree t;
    THVFolder* tech = t.Root.AddChild("tech");
    t.Item(*tech, "t1");
    THVFolder* linux = tech->AddChild("linux");
    t.Item(*linux, "l1");
    t.Root.AddChild("life");
    EXPECT_TRUE(t.Edits.DeleteFolder(*tech));
    EXPECT_EQ(TTree::Children(t.Root), (TNames{"life"}));
    EXPECT_EQ(t.Recorder.Log,
              (TLog{"freed t1", "freed l1", "freed folder tech", "-folder? tech", "-folder Hollyvine 0"}));
    t.Recorder.Log.clear();
    EXPECT_FALSE(t.Edits.DeleteFolder(t.Root));
    EXPECT_TRUE(t.Recorder.Log.empty());
}

TEST(TTreeEdits, MoveFolderSwapsWithItsNeighbour) {
    TTree t;
    for (const char* name : {"A", "B", "C"}) {
        t.Root.AddChild(name);
    }
    EXPECT_FALSE(t.Edits.MoveFolder(*t.Root.Child(0), -1));
    EXPECT_FALSE(t.Edits.MoveFolder(*t.Root.Child(2), 1));
    EXPECT_FALSE(t.Edits.MoveFolder(t.Root, 1));
    EXPECT_TRUE(t.Recorder.Log.empty());
    EXPECT_TRUE(t.Edits.MoveFolder(*t.Root.Child(1), 1));
    EXPECT_EQ(TTree::Children(t.Root), (TNames{"A", "C", "B"}));
    EXPECT_TRUE(t.Edits.MoveFolder(*t.Root.Child(1), -1));
    EXPECT_EQ(TTree::Children(t.Root), (TNames{"C", "A", "B"}));
    EXPECT_EQ(t.Recorder.Log, (TLog{"move? B 2", "move B", "move? C 0", "move C"}));
}

// The target holds ALPHA and alpha~1; moved items are made unique there, last first.
TEST(TTreeEdits, MoveItemsMakesNamesUniqueAndAnnouncesEachItem) {
    TTree t;
    THVItem* alpha = t.Item(t.Root, "alpha");
    THVItem* beta = t.Item(t.Root, "Beta");
    t.Item(t.Root, "gamma");
    THVFolder* other = t.Root.AddChild("other");
    other->List().Add("ALPHA");
    other->List().Add("alpha~1");
    const std::vector<THVItem*> moved = t.Edits.MoveItems({alpha, beta}, *other);
    EXPECT_EQ(TTree::Names(*other), (TNames{"ALPHA", "alpha~1", "Beta", "alpha~2"}));
    EXPECT_EQ(TTree::Names(t.Root), (TNames{"gamma"}));
    ASSERT_EQ(moved.size(), 2U);
    EXPECT_EQ(moved[1]->GetMemo(), "memo of alpha");
    EXPECT_EQ(t.Recorder.Log, (TLog{"+item? other 2", "+item Beta", "moved Beta > other/Beta", "-item? Beta",
                                    "-item Hollyvine 1", "+item? other 3", "+item alpha~2",
                                    "moved alpha > other/alpha~2", "-item? alpha", "-item Hollyvine 0"}));
}

TEST(TTreeEdits, MoveItemsWithANewNameAndNotIntoTheirOwnFolder) {
    TTree t;
    THVItem* gamma = t.Item(t.Root, "gamma");
    THVFolder* other = t.Root.AddChild("other");
    EXPECT_TRUE(t.Edits.MoveItems({gamma}, t.Root).empty());
    EXPECT_TRUE(t.Recorder.Log.empty());
    t.Edits.MoveItems({gamma}, *other, std::string("renamed"));
    EXPECT_EQ(TTree::Names(*other), (TNames{"renamed"}));
    EXPECT_EQ(t.Root.List().Count(), 0);
}

TEST(TTreeEdits, CopiesGetUniqueNames) {
    TTree t;
    THVItem* alpha = t.Item(t.Root, "alpha");
    THVItem* beta = t.Item(t.Root, "Beta");
    THVFolder* other = t.Root.AddChild("other");
    other->List().Add("beta");
    t.Edits.CopyItems({alpha, beta}, t.Root);
    EXPECT_EQ(TTree::Names(t.Root), (TNames{"alpha", "Beta", "alpha~1", "Beta~1"}));
    EXPECT_EQ(t.Root.List().Items(3)->GetMemo(), "memo of Beta");
    t.Edits.CopyItems({alpha, beta}, *other);
    EXPECT_EQ(TTree::Names(*other), (TNames{"beta", "alpha", "Beta~1"}));
    t.Recorder.Log.clear();
    t.Edits.CopyItems({alpha}, t.Root, std::string("a copy"));
    EXPECT_EQ(t.Root.List().Items(4)->GetName(), "a copy");
    // No notice of moving or freeing: the originals stay.
    EXPECT_EQ(t.Recorder.Log, (TLog{"+item? Hollyvine 4", "+item a copy"}));
}

TEST(TTreeEdits, DeleteItemsAnnouncesEachLastFirst) {
    TTree t;
    THVItem* a = t.Item(t.Root, "a");
    t.Item(t.Root, "b");
    THVItem* c = t.Item(t.Root, "c");
    t.Edits.DeleteItems({a, c});
    EXPECT_EQ(TTree::Names(t.Root), (TNames{"b"}));
    EXPECT_EQ(t.Recorder.Log,
              (TLog{"freed c", "-item? c", "-item Hollyvine 2", "freed a", "-item? a", "-item Hollyvine 0"}));
}

TEST(TTreeEdits, AddItemAndSortItemsAreAnnounced) {
    TTree t;
    t.Item(t.Root, "b");
    THVList scratch;
    THVItem* source = scratch.Add("a");
    source->SetURL("http://a.example/");
    THVItem* added = t.Edits.AddItem(t.Root.List(), *source);
    EXPECT_EQ(added->GetURL(), "http://a.example/");
    t.Edits.SortItems(t.Root.List(), TItemOrder{});
    EXPECT_EQ(TTree::Names(t.Root), (TNames{"a", "b"}));
    t.Edits.ItemChanged(*added);
    EXPECT_EQ(t.Recorder.Log,
              (TLog{"+item? Hollyvine 1", "+item a", "sort items? Hollyvine", "sort items Hollyvine", "item a"}));
}

TEST(TTreeEdits, AddNewItemIsAnnouncedUnderItsUniqueName) {
    TTree t;
    t.Item(t.Root, "x");
    EXPECT_EQ(t.Edits.AddNewItem(t.Root.List(), "x", "http://x.example/")->GetURL(), "http://x.example/");
    t.Edits.AddNewItem(t.Root.List(), "X", "");
    EXPECT_EQ(TTree::Names(t.Root), (TNames{"x", "x~1", "X~2"}));
    // The inserted notice comes after the rename, so the views show the name that is kept.
    EXPECT_EQ(t.Recorder.Log, (TLog{"+item? Hollyvine 1", "+item x~1", "+item? Hollyvine 2", "+item X~2"}));
}

TEST(TTreeEdits, MovingAFolderIntoItsOwnLineOrParentIsRefusedElsewhereMakesIt) {
    TTree t;
    THVFolder* tech = t.Root.AddChild("tech");
    THVFolder* linux = tech->AddChild("linux");
    t.Item(*tech, "t1");
    THVFolder* life = t.Root.AddChild("life");
    EXPECT_EQ(t.Edits.MoveFolderInto(t.Root, *life, false), nullptr);
    EXPECT_EQ(t.Edits.MoveFolderInto(*tech, t.Root, false), nullptr);
    EXPECT_EQ(t.Edits.MoveFolderInto(*tech, *tech, false), nullptr);
    EXPECT_EQ(t.Edits.MoveFolderInto(*tech, *linux, false), nullptr);
    EXPECT_TRUE(t.Recorder.Log.empty());
    THVFolder* receiver = t.Edits.MoveFolderInto(*tech, *life, false);
    ASSERT_NE(receiver, nullptr);
    EXPECT_EQ(receiver->Parent(), life);
    EXPECT_EQ(receiver->Name(), "tech");
    EXPECT_EQ(TTree::Names(*receiver), (TNames{"t1"}));
    EXPECT_EQ(TTree::Children(*receiver), (TNames{"linux"}));
    EXPECT_EQ(t.Recorder.Log.front(), "+folder? life 0");
}

// life already holds tech/linux with an item named like one of the moving ones.
TEST(TTreeEdits, MovingAFolderIntoAnotherMergesSameNamedFolders) {
    TTree t;
    THVFolder* tech = t.Root.AddChild("tech");
    t.Item(*tech, "t1");
    THVFolder* linux = tech->AddChild("Linux");
    linux->SetExpanded(true);
    t.Item(*linux, "l1");
    t.Item(*linux, "l2");
    tech->AddChild("new");
    THVFolder* life = t.Root.AddChild("life");
    THVFolder* lifeTech = life->AddChild("TECH");
    THVFolder* lower = lifeTech->AddChild("linux");
    lower->List().Add("L1");
    std::vector<THVFolder*> receivers;
    THVFolder* receiver = t.Edits.MoveFolderInto(*tech, *life, true, &receivers);
    EXPECT_EQ(receiver, lifeTech);
    EXPECT_EQ(TTree::Children(t.Root), (TNames{"life"}));
    EXPECT_EQ(TTree::Children(*lifeTech), (TNames{"linux", "new"}));
    EXPECT_EQ(TTree::Names(*lifeTech), (TNames{"t1"}));
    EXPECT_EQ(TTree::Names(*lower), (TNames{"L1", "l2", "l1~1"}));
    EXPECT_TRUE(lower->Expanded());
    EXPECT_EQ(receivers.size(), 3U);
    const TLog& log = t.Recorder.Log;
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& s) { return s.starts_with("moved "); }), 3);
    EXPECT_NE(std::find(log.begin(), log.end(), "moved l1 > linux/l1~1"), log.end());
    // The emptied source goes last, announced as freed.
    ASSERT_GE(log.size(), 3U);
    EXPECT_EQ(TLog(log.end() - 3, log.end()), (TLog{"freed folder tech", "-folder? tech", "-folder Hollyvine 0"}));
}

} // namespace

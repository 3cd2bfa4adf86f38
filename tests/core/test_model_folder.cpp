#include "BookmarkTestSupport.h"
#include "model/HVFolder.h"

#include <gtest/gtest.h>

using namespace hv;

TEST(THVFolder, FindOrCreateChildMatchesAsciiCaseInsensitively) {
    THVFolder root("Hollyvine");
    bool created = false;
    THVFolder* a = root.FindOrCreateChild("News", false, &created);
    EXPECT_TRUE(created);
    EXPECT_EQ(root.FindOrCreateChild("NEWS", false, &created), a);
    EXPECT_FALSE(created);
    EXPECT_EQ(a->Parent(), &root);
    EXPECT_EQ(a->List().Node(), a);
}

TEST(THVFolder, NewChildrenAreSortedOnlyWhenAsked) {
    THVFolder root;
    root.FindOrCreateChild("b", false);
    root.FindOrCreateChild("C", false);
    root.FindOrCreateChild("a", false);
    EXPECT_EQ(root.Child(0)->Name(), "b");
    root.FindOrCreateChild("B2", true);
    EXPECT_EQ(test::Outline(root), "[a]-\n[b]-\n[B2]-\n[C]-\n");
}

TEST(THVFolder, ExtractAndAdoptMoveASubtree) {
    THVFolder root;
    THVFolder* a = root.AddChild("a");
    THVFolder* b = root.AddChild("b");
    THVFolder* deep = a->AddChild("deep");
    std::unique_ptr<THVFolder> taken = root.ExtractChild(a);
    b->AdoptChild(std::move(taken));
    EXPECT_EQ(root.ChildCount(), 1);
    EXPECT_EQ(deep->Level(), 3);
    EXPECT_TRUE(deep->IsInside(b));
    EXPECT_FALSE(b->IsInside(deep));
}

TEST(THVFolder, WalksInPreOrderWithLevels) {
    THVFolder root;
    THVFolder* a = root.AddChild("a");
    a->AddChild("a1");
    root.AddChild("b");
    std::string seen;
    ForEachFolder(root, [&seen](THVFolder& f, int level) { seen += f.Name() + std::to_string(level) + " "; });
    EXPECT_EQ(seen, "0 a1 a12 b1 ");
    EXPECT_EQ(root.Child(0)->Child(0)->NextInTree(&root), root.Child(1));
    EXPECT_EQ(root.Child(1)->NextInTree(&root), nullptr);
}

TEST(THVFolder, ATreeNestedAHundredThousandDeepIsWalkedAndFreed) {
    auto root = std::make_unique<THVFolder>("Hollyvine");
    THVFolder* f = root.get();
    for (int i = 0; i < 100000; ++i) {
        f = f->AddChild("d");
        f->List().Add()->SetName("item");
    }
    int count = 0;
    ForEachFolder(*root, [&count](THVFolder&, int) { ++count; });
    EXPECT_EQ(count, 100001);
    root->SetExpandedRecursive(true);
    EXPECT_TRUE(f->Expanded());
    root->Child(0)->Clear();
    EXPECT_EQ(root->Child(0)->ChildCount(), 0);
    for (int i = 0; i < 100000; ++i) {
        root->Child(0)->AddChild("x")->AddChild("y");
    }
    root.reset(); // must not overflow the stack
}

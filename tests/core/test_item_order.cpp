#include "model/HVItems.h"
#include "model/ItemOrder.h"

#include <gtest/gtest.h>

using namespace hv;

namespace {

struct TOrderFixture : ::testing::Test {
    THVList list;
    THVItem* Add(const std::string& name, const std::string& url = {}, TDateTime visited = 0) {
        THVItem* item = list.Add();
        item->SetName(name);
        item->SetURL(url);
        item->SetLastVisited(visited);
        return item;
    }
    std::string Names(const TItemOrder& order) {
        list.Sort(order);
        std::string s;
        for (const auto& item : list) {
            s += item->GetName() + " ";
        }
        return s;
    }
};

constexpr TDateTime kMinute = 1.0 / 1440;

} // namespace

TEST_F(TOrderFixture, ByNameIgnoresCaseBothWays) {
    Add("banana");
    Add("Apple");
    Add("cherry");
    EXPECT_EQ(Names({}), "Apple banana cherry ");
    EXPECT_EQ(Names({TItemOrder::ByName, true, true}), "cherry banana Apple ");
}

TEST_F(TOrderFixture, ByUrlIsCaseSensitiveByteOrderWithNameTieBreak) {
    Add("x", "http://b");
    Add("y", "http://B");
    Add("w", "http://b/longer");
    Add("a", "http://b");
    EXPECT_EQ(Names({TItemOrder::ByURL, false, true}), "y a x w ");
    // The name tie-break stays ascending when the direction is reversed.
    EXPECT_EQ(Names({TItemOrder::ByURL, true, true}), "w a x y ");
}

TEST_F(TOrderFixture, ByAccessTimeComparesWholeMinutes) {
    const TDateTime t = 45000.5;
    Add("b", {}, t + 10 * kMinute);
    Add("a", {}, t + 10 * kMinute + kMinute / 3); // the same minute once rounded
    Add("c", {}, t);
    EXPECT_EQ(Names({TItemOrder::ByLastVisited, false, true}), "c a b ");
    EXPECT_EQ(Names({TItemOrder::ByLastVisited, true, true}), "a b c ");
}

TEST_F(TOrderFixture, NeverVisitedItemsGoLastOrFirstByNewItemAtBottom) {
    Add("never");
    Add("old", {}, 40000);
    Add("recent", {}, 45000);
    EXPECT_EQ(Names({TItemOrder::ByLastVisited, false, true}), "old recent never ");
    EXPECT_EQ(Names({TItemOrder::ByLastVisited, true, true}), "never recent old ");
    EXPECT_EQ(Names({TItemOrder::ByLastVisited, false, false}), "never old recent ");
}

TEST_F(TOrderFixture, HalfMinutesRoundToEven) {
    THVItem* a = Add("a", {}, 45000);
    THVItem* b = Add("b", {}, 45000 + 0.5 * kMinute);
    THVItem* c = Add("c", {}, 45000 + 1.5 * kMinute);
    TItemOrder order{TItemOrder::ByLastVisited, false, true};
    EXPECT_LT(CompareItems(*a, *b, order), 0); // 0.5 rounds to 0: the names decide
    EXPECT_GT(CompareItems(*b, *a, order), 0);
    EXPECT_LT(CompareItems(*a, *c, order), 0); // 1.5 rounds to 2
    EXPECT_EQ(CompareItems(*a, *a, {99, false, true}), 0);
}

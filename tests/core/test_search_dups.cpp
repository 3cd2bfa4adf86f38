#include "model/HVFolder.h"
#include "search/DuplicateUrls.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace hv {
namespace {

using TStrings = std::vector<std::string>;

std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> parts;
    std::istringstream in(text + delimiter);
    for (std::string part; std::getline(in, part, delimiter);) {
        parts.push_back(part);
    }
    return parts;
}

// An item as "folder|name|url|title=line|title=line...", folder a path below the root ("" for
// the root) whose folders are made as they are first named.
void Build(THVFolder& root, const TStrings& items) {
    for (const std::string& line : items) {
        const std::vector<std::string> parts = Split(line, '|');
        THVFolder* folder = &root;
        for (const std::string& name : parts[0].empty() ? TStrings{} : Split(parts[0], '\\')) {
            folder = folder->FindOrCreateChild(name, false);
        }
        THVItem* item = folder->List().Add();
        item->SetName(parts[1]);
        item->SetURL(parts[2]);
        for (std::size_t i = 3; i < parts.size(); ++i) {
            TCmdItem& command = item->GetCommands().Add();
            command.Title = parts[i].substr(0, parts[i].find('='));
            command.CommandLine = parts[i].substr(parts[i].find('=') + 1);
        }
    }
}

// Each row as "group|name|path|command|URL column".
TStrings Rows(const TDupResults& results) {
    TStrings rows;
    for (const TDupRow& row : results.Rows()) {
        rows.push_back(std::to_string(row.Group) + "|" + row.Name + "|" + row.FolderPath() + "|" + row.CommandTitle +
                       "|" + row.URL());
    }
    return rows;
}

struct TGroupCase {
    const char* Rule;
    TStrings Items;
    bool Commands;
    TStrings Expected;
};

void PrintTo(const TGroupCase& c, std::ostream* os) {
    *os << c.Rule;
}

class TDupGroupingTest : public ::testing::TestWithParam<TGroupCase> {};

TEST_P(TDupGroupingTest, GroupsAsTheRulesSay) {
    THVFolder root("Hollyvine");
    Build(root, GetParam().Items);
    TDupResults results;
    results.Search(root, true, GetParam().Commands, TCaseMapper("en_US"));
    EXPECT_EQ(Rows(results), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TDupGroupingTest,
    ::testing::Values(
        TGroupCase{"case is ignored; the first spelling is shown",
                   {"|one|http://Example.com/A", "Sub|two|HTTP://EXAMPLE.COM/a"},
                   true,
                   {"0|one|Hollyvine||http://Example.com/A", "0|two|Hollyvine\\Sub||http://Example.com/A"}},
        TGroupCase{
            "nothing but case is ignored",
            {"|a|http://example.com", "|b|http://example.com/", "|c| http://example.com", "|d|http://ｅxample.com"},
            true,
            {}},
        TGroupCase{
            "letters of other scripts fold too",
            {"|a|http://例え.jp/ＰＡＧＥ", "|b|http://例え.jp/ｐａｇｅ", "|c|file:///Straße", "|d|file:///STRASSE"},
            true,
            {"0|a|Hollyvine||http://例え.jp/ＰＡＧＥ", "0|b|Hollyvine||http://例え.jp/ＰＡＧＥ",
             "1|c|Hollyvine||file:///Straße", "1|d|Hollyvine||file:///Straße"}},
        TGroupCase{
            "a command line equal to a URL; one equal to its own item's URL lists the item twice",
            {"|page|http://example.com/|again=http://example.com/", "|tool|http://tool/|open=http://EXAMPLE.com/"},
            true,
            {"0|page|Hollyvine||http://example.com/", "0|page|Hollyvine|again|http://example.com/",
             "0|tool|Hollyvine|open|http://example.com/"}},
        TGroupCase{"without commands, command lines are ignored",
                   {"|page|http://example.com/|again=http://example.com/", "|tool|http://tool/|open=http://tool/"},
                   false,
                   {}},
        TGroupCase{"groups in order of first occurrence; a folder's items before its subfolders",
                   {"A|a-y|Y", "B|b-x|x", "A\\A1|a1-y|y", "A\\A1|a1-x|X", "|root-z|z", "B|b-z|Z"},
                   true,
                   {"0|root-z|Hollyvine||z", "0|b-z|Hollyvine\\B||z", "1|a-y|Hollyvine\\A||Y",
                    "1|a1-y|Hollyvine\\A\\A1||Y", "2|a1-x|Hollyvine\\A\\A1||X", "2|b-x|Hollyvine\\B||X"}},
        TGroupCase{"empty addresses form a group",
                   {"|no url||empty=", "|single|http://single/"},
                   true,
                   {"0|no url|Hollyvine||", "0|no url|Hollyvine|empty|"}}));

TEST(TDuplicateUrlsTest, AFolderAloneOrWithItsSubfolders) {
    THVFolder root("Hollyvine");
    Build(root, {"A|one|u", "A\\A1|two|u", "|outside|u"});
    TDupResults results;
    results.Search(*root.Child(0), true, true);
    EXPECT_EQ(results.Count(), 2);
    results.Search(*root.Child(0), false, true);
    EXPECT_EQ(results.Count(), 0);
}

TEST(TDuplicateUrlsTest, RowsFollowFreedAndMovedItems) {
    THVFolder root("Hollyvine");
    Build(root, {"|twice|u|self=u", "|other|U", "Sub|third|u"});
    THVFolder* sub = root.Child(0);
    TItemNotices notices;
    TDupResults results;
    TNoticeSubscription subscription(&notices, &results);
    results.Search(root, true, true);
    ASSERT_EQ(results.Count(), 4);

    // An item listed in two rows (its URL and a command) loses both.
    notices.ItemFreed(root.List().Items(0));
    root.List().Delete(0);
    EXPECT_EQ(Rows(results), (TStrings{"0|other|Hollyvine||u", "0|third|Hollyvine\\Sub||u"}));

    THVItem* moved = sub->List().Add();
    moved->SetName("other");
    notices.ItemMoved(root.List().Items(0), moved, sub);
    std::unique_ptr<THVItem> gone = root.List().Extract(root.List().Items(0));
    EXPECT_EQ(Rows(results), (TStrings{"0|other|Hollyvine\\Sub||u", "0|third|Hollyvine\\Sub||u"}));
    EXPECT_EQ(results.OpenRow(0).Item, moved);
    EXPECT_EQ(results.OpenRow(0).Folder, sub);

    // Opening a row whose item left its folder finds the folder alone.
    std::unique_ptr<THVItem> taken = sub->List().Extract(moved);
    EXPECT_EQ(results.OpenRow(0).Folder, sub);
    EXPECT_EQ(results.OpenRow(0).Item, nullptr);

    notices.FolderFreed(sub); // rows whose folder goes, even without notices for the items
    EXPECT_EQ(results.Count(), 0);
}

} // namespace
} // namespace hv

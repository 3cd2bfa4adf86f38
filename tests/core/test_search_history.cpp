#include "search/FindCondition.h"
#include "search/FindHistory.h"
#include "settings/FontQuery.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hv {
namespace {

using TStrings = std::vector<std::string>;

struct TCommaCase {
    TStrings Items;
    std::string Text;
};

class TCommaTextTest : public ::testing::TestWithParam<TCommaCase> {};

TEST_P(TCommaTextTest, WritesAndReadsBack) {
    EXPECT_EQ(StringsToCommaText(GetParam().Items), GetParam().Text);
    EXPECT_EQ(CommaTextToStrings(GetParam().Text), GetParam().Items);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, TCommaTextTest,
    ::testing::Values(TCommaCase{{}, ""}, TCommaCase{{"abc"}, "abc"}, TCommaCase{{"a", "b", "c"}, "a,b,c"},
                      TCommaCase{{"天気予報", "ニュース"}, "天気予報,ニュース"},
                      TCommaCase{{"two words", "x"}, "\"two words\",x"}, TCommaCase{{"a,b"}, "\"a,b\""},
                      TCommaCase{{"say \"hi\""}, "\"say \"\"hi\"\"\""}, TCommaCase{{"全角　空白"}, "全角　空白"},
                      // Empty entries are quoted, so one at the end is not read as a trailing comma.
                      TCommaCase{{""}, "\"\""}, TCommaCase{{"a", ""}, "a,\"\""}, TCommaCase{{"", "a"}, "\"\",a"},
                      TCommaCase{{"tab\there"}, "\"tab\there\""}));

struct TReadCase {
    std::string Text;
    TStrings Items;
};

class TCommaTextReadTest : public ::testing::TestWithParam<TReadCase> {};

TEST_P(TCommaTextReadTest, ReadsTextsOthersWrote) {
    EXPECT_EQ(CommaTextToStrings(GetParam().Text), GetParam().Items);
}

INSTANTIATE_TEST_SUITE_P(Foreign, TCommaTextReadTest,
                         ::testing::Values(TReadCase{"  a , b ", {"a", "b"}},
                                           TReadCase{"a b", {"a", "b"}}, // a blank ends an item
                                           TReadCase{"a,,b", {"a", "", "b"}}, TReadCase{"a,", {"a"}},
                                           TReadCase{",a", {"", "a"}}, TReadCase{"\"x\"y,z", {"x", "y", "z"}},
                                           // No closing quote: the rest of the text is the item, nothing cut off.
                                           TReadCase{"\"open end", {"open end"}}, TReadCase{"\"\"", {""}},
                                           TReadCase{" ", {}}));

TEST(TFindHistoryTest, PutsTheNewestFirstAndMovesRepeatedTextsUp) {
    TFindHistory history;
    history.Add("a");
    history.Add("b");
    history.Add("c");
    history.Add("a");
    EXPECT_EQ(history.Items(), (TStrings{"a", "c", "b"}));
    history.Add("A"); // compared exactly
    EXPECT_EQ(history.Items(), (TStrings{"A", "a", "c", "b"}));
    EXPECT_EQ(history.CommaText(), "A,a,c,b");
}

TEST(TFindHistoryTest, KeepsThirtyTwoTexts) {
    TFindHistory history;
    for (int i = 0; i < 40; ++i) {
        history.Add("text " + std::to_string(i));
    }
    ASSERT_EQ(history.Count(), TFindHistory::kMaxCount);
    EXPECT_EQ(history.Items().front(), "text 39");
    EXPECT_EQ(history.Items().back(), "text 8");
    // Searching again for an older text moves it instead of adding it.
    history.Add("text 8");
    EXPECT_EQ(history.Count(), TFindHistory::kMaxCount);
    EXPECT_EQ(history.Items().front(), "text 8");
    EXPECT_EQ(history.Items().back(), "text 9");
}

TEST(TFindHistoryTest, LoadsTheStoredValue) {
    TFindHistory history;
    history.LoadCommaText("\"two words\",東京,\"a,b\"");
    EXPECT_EQ(history.Items(), (TStrings{"two words", "東京", "a,b"}));
    history.LoadCommaText(std::string(40, ','));
    EXPECT_EQ(history.Count(), TFindHistory::kMaxCount);
}

class TNoFontsForFind final : public TFontQuery {
public:
    bool IsInstalled(std::string_view) const override { return false; }
    std::string DefaultUiFamily() const override { return "Sans"; }
};

TEST(TFindOptionsTest, SurviveTheFindTableWithTheirHistory) {
    TMemoryRegistryStore store;
    TNoFontsForFind fonts;
    TFindOptions options;
    {
        TSettings settings(store, &fonts);
        options = ReadFindOptions(settings);
        EXPECT_TRUE(options.IncludeSubFolder); // the default
        TFindHistory history;
        history.Add("天気");
        history.Add("a, b");
        options.FindText = history.CommaText();
        options.Subject = 2;
        options.DiscriminateCase = true;
        WriteFindOptions(settings, options);
        settings.End();
    }
    TSettings again(store, &fonts);
    TFindOptions read = ReadFindOptions(again);
    EXPECT_EQ(read.Subject, 2);
    EXPECT_TRUE(read.DiscriminateCase);
    TFindHistory history;
    history.LoadCommaText(read.FindText);
    EXPECT_EQ(history.CommaText(), options.FindText);
}

} // namespace
} // namespace hv

#include "search/FindCondition.h"
#include "text/CaseMapping.h"

#include <gtest/gtest.h>

#include <string>

namespace hv {
namespace {

struct TMatchCase {
    const char* Field;
    TFindType Type;
    const char* Text;
    bool CaseSensitive;
    bool Expected;
};

class TMatchTest : public ::testing::TestWithParam<TMatchCase> {};

TEST_P(TMatchTest, MatchesAsTheRulesSay) {
    const TMatchCase& c = GetParam();
    const TCaseMapper mapper("ja_JP");
    const TFindCondition condition(TFindSubject::Name, c.Type, c.Text, c.CaseSensitive, mapper);
    EXPECT_EQ(condition.MatchesText(c.Field), c.Expected);
}

using enum TFindType;

INSTANTIATE_TEST_SUITE_P(
    Ascii, TMatchTest,
    ::testing::Values(TMatchCase{"ABC", Contains, "abc", false, true}, TMatchCase{"aBc", Contains, "abc", false, true},
                      TMatchCase{"ABC", Contains, "abc", true, false}, TMatchCase{"abc", Contains, "abc", true, true},
                      TMatchCase{"xabcx", NotContains, "ABC", false, false},
                      TMatchCase{"xyz", NotContains, "abc", false, true}, TMatchCase{"abc", Equals, "ABC", false, true},
                      TMatchCase{"abcd", Equals, "abc", false, false},
                      TMatchCase{"Hollyvine", BeginsWith, "holly", false, true},
                      TMatchCase{"Hollyvine", BeginsWith, "vine", false, false},
                      TMatchCase{"Hollyvine", EndsWith, "VINE", false, true},
                      TMatchCase{"vine", EndsWith, "Hollyvine", false, false},
                      // The empty-field rule holds for every type, "does not contain" included.
                      TMatchCase{"", NotContains, "abc", false, false}, TMatchCase{"", Contains, "abc", true, false},
                      TMatchCase{"", EndsWith, "a", false, false}));

INSTANTIATE_TEST_SUITE_P(Japanese, TMatchTest,
                         ::testing::Values(TMatchCase{"東京の天気予報", Contains, "天気", false, true},
                                           TMatchCase{"東京の天気予報", BeginsWith, "東京", true, true},
                                           TMatchCase{"東京の天気予報", EndsWith, "予報", false, true},
                                           // The tail bytes of "ア" (E3 82 A2) are no character of their own.
                                           TMatchCase{"ア", EndsWith, "\x82\xA2", true, false},
                                           TMatchCase{"ア", Contains, "\xA2", true, false},
                                           TMatchCase{"ア", NotContains, "\x82\xA2", true, true},
                                           TMatchCase{"ﾃｽﾄ", Equals, "テスト", false, false}, // width is not case
                                           TMatchCase{"ひらがな", Equals, "ヒラガナ", false, false}));

// Letters of other scripts have case too; the Windows program could not fold them.
INSTANTIATE_TEST_SUITE_P(OtherScripts, TMatchTest,
                         ::testing::Values(TMatchCase{"ＡＢＣ", Equals, "ａｂｃ", false, true},
                                           TMatchCase{"ＡＢＣ", Equals, "ａｂｃ", true, false},
                                           // Outside the Greek locale upper-casing keeps the accents.
                                           TMatchCase{"ΑΘΗΝΑ", Contains, "αθήνα", false, false},
                                           TMatchCase{"Αθηνα", Equals, "ΑΘΗΝΑ", false, true},
                                           TMatchCase{"Москва", Equals, "МОСКВА", false, true},
                                           TMatchCase{"Straße", Equals, "STRASSE", false, true}));

TEST(TFindConditionTest, RemovesControlCharactersFromTheText) {
    const TFindCondition condition(TFindSubject::Name, TFindType::Equals, "a\tb\r\nc\x01", true);
    EXPECT_EQ(condition.Text(), "abc");
    EXPECT_TRUE(condition.MatchesText("abc"));
    EXPECT_TRUE(TFindCondition(TFindSubject::Name, TFindType::Contains, "\t\x1F", false).IsEmpty());
}

TEST(TFindConditionTest, StoredChoicesOutsideTheirRangeGiveTheDefault) {
    EXPECT_EQ(SubjectFromSetting(2), TFindSubject::Memo);
    EXPECT_EQ(SubjectFromSetting(3), TFindSubject::Name);
    EXPECT_EQ(FindTypeFromSetting(4), TFindType::EndsWith);
    EXPECT_EQ(FindTypeFromSetting(-1), TFindType::Contains);
    EXPECT_EQ(RangeFromSetting(2), TFindRange::ResultList);
    EXPECT_EQ(RangeFromSetting(7), TFindRange::CurrentFolder);
}

TEST(TCaseMapperTest, FollowsTheLocale) {
    const TCaseMapper root("en_US");
    const TCaseMapper turkish("tr_TR");
    EXPECT_EQ(root.Upper("istanbul"), "ISTANBUL");
    EXPECT_EQ(turkish.Upper("istanbul"), "İSTANBUL");
    EXPECT_EQ(root.Fold("HTTP://I.EXAMPLE/"), "http://i.example/");
    EXPECT_EQ(turkish.Fold("I"), "ı");
    EXPECT_EQ(root.Fold("ＡＢＣ Ωmega"), "ａｂｃ ωmega");
    EXPECT_EQ(root.Upper("日本語ｶﾅ\uF781"), "日本語ｶﾅ\uF781"); // U+F7xx carries a document's stray byte
}

} // namespace
} // namespace hv

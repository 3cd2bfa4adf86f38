#include "importexport/HtmlParse.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace hv {
namespace {

// Every token of text in a short form: T(text), C(comment), <name a=v> or </name>.
std::string Tokens(const std::string& text) {
    THtmlParser parser(text);
    std::string out;
    while (parser.Next()) {
        if (!out.empty()) {
            out += ' ';
        }
        const THtmlTag& tag = parser.Tag();
        switch (parser.Kind()) {
        case THtmlTokenKind::Text:
            out += "T(" + std::string(parser.TokenText()) + ")";
            break;
        case THtmlTokenKind::Comment:
            out += "C(" + std::string(parser.TokenText()) + ")";
            break;
        case THtmlTokenKind::Tag:
            out += (tag.IsStart() ? "<" : "</") + std::string(tag.Name());
            for (const THtmlTagAttr& attr : tag.Attrs()) {
                out += " " + std::string(attr.Name) + "=" + std::string(attr.Value);
            }
            out += ">";
            break;
        }
    }
    return out;
}

struct TTokenCase {
    const char* Name;
    std::string Text;
    std::string Expected;
};

class TTokenizerTest : public ::testing::TestWithParam<TTokenCase> {};

TEST_P(TTokenizerTest, YieldsTheTokensABrowserSees) {
    EXPECT_EQ(Tokens(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Html, TTokenizerTest,
    ::testing::Values(TTokenCase{"Empty", "", ""}, TTokenCase{"TextThenTag", "abc<b>", "T(abc) <b>"},
                      TTokenCase{"CommentHidesGreaterThan", "<!-- x > y -->z", "C(<!-- x > y -->) T(z)"},
                      TTokenCase{"DeclarationEndsAtFirstGreaterThan", "<!DOCTYPE html>x>", "C(<!DOCTYPE html>) T(x>)"},
                      TTokenCase{"UnterminatedCommentRunsToTheEnd", "a<!-- b <c>", "T(a) C(<!-- b <c>)"},
                      TTokenCase{"ScriptContentIsSkipped", "<SCRIPT>a<b>\"c</Script>d", "<SCRIPT> T(d)"},
                      TTokenCase{"ScriptEndTagWithBlank", "<script>x</script >y", "<script> T(y)"},
                      TTokenCase{"NetscapeAttributes", "<A HREF=\"x.htm\" ADD_DATE=123 FOLDED>",
                                 "<A HREF=x.htm ADD_DATE=123 FOLDED=>"},
                      TTokenCase{"BlanksAroundEquals", "<a href = \"x\">", "<a href=x>"},
                      TTokenCase{"SlashEndsTag", "<br/><img src=x />", "<br> <img src=x>"},
                      TTokenCase{"SlashInsideUnquotedValueStays", "<a href=/a/b/>", "<a href=/a/b/>"},
                      TTokenCase{"SingleQuotes", "<a href='x y' title='say \"hi\"'>", "<a href=x y title=say \"hi\">"},
                      TTokenCase{"AttributeNamesOfAnyCharacters", "<p xml:lang=ja data-x=1 @click=go :v>",
                                 "<p xml:lang=ja data-x=1 @click=go :v=>"},
                      TTokenCase{"LoneLineFeedIsBlank", "<a\nhref=x\n>", "<a href=x>"},
                      TTokenCase{"BackslashKeepsQuote", "<a t=\"x\\\"y\">", "<a t=x\\\"y>"},
                      TTokenCase{"UnicodeNextToQuotes", "<a t=\"日本\">語</a>", "<a t=日本> T(語) </a>"},
                      TTokenCase{"QuoteWhereNameBelongs", "<a b\"c\">", "<a b= =c>"},
                      TTokenCase{"EndTagWithAttributes", "</a x=1>", "</a x=1>"},
                      TTokenCase{"LessThanInText", "a < b <3 x</ y>z", "T(a < b <3 x) C(</ y>) T(z)"},
                      TTokenCase{"LessThanAtEnd", "a<", "T(a<)"},
                      TTokenCase{"ProcessingInstruction", "<?xml v=\"1\"?><r>", "C(<?xml v=\"1\"?>) <r>"},
                      TTokenCase{"NulEndsText", "ab\0<c>"s, "T(ab)"}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TErrorCase {
    const char* Name;
    std::string Text;
    std::string Message;
};

class TTokenizerErrorTest : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(TTokenizerErrorTest, ReportsWhereTheTextEnded) {
    try {
        Tokens(GetParam().Text);
        FAIL() << "no error";
    } catch (const EHtmlParseError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().Message);
        EXPECT_STREQ(e.ClassName(), "EHtmlParseError");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Html, TTokenizerErrorTest,
    ::testing::Values(TErrorCase{"TagOpen", "x\r\n<a href=x", "タグが終了していません(行番号: 2)"},
                      TErrorCase{"AfterEquals", "<a href=", "タグが終了していません(行番号: 1)"},
                      TErrorCase{"QuotedValueOpen", "<a\r\ntitle=\"a\r\nb", "文字列が終了していません(行番号: 3)"},
                      TErrorCase{"EscapedQuoteAtEnd", "<a t=\"x\\\">", "文字列が終了していません(行番号: 1)"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(HtmlParser, CountsLinesInTextValuesAndSkippedParts) {
    THtmlParser parser("\r\nab\r\n<a t=\"1\r\n2\">\r\n<!--\r\n\r\n--><script>\n</script>x\ny");
    std::vector<int> lines;
    while (parser.Next()) {
        lines.push_back(parser.Line());
    }
    // text, tag (value holds a break), text, comment (two breaks), script (a lone LF), text
    EXPECT_EQ(lines, (std::vector<int>{3, 4, 5, 7, 8, 9}));
}

TEST(HtmlParser, TokenTextIsTheRawSource) {
    THtmlParser parser("<SCRIPT>a<b>c</Script>d<A  HREF='&amp;'>");
    ASSERT_TRUE(parser.Next());
    EXPECT_EQ(parser.TokenText(), "<SCRIPT>a<b>c</Script>");
    ASSERT_TRUE(parser.Next());
    EXPECT_EQ(parser.TokenText(), "d");
    ASSERT_TRUE(parser.Next());
    EXPECT_EQ(parser.TokenText(), "<A  HREF='&amp;'>");
    EXPECT_EQ(parser.Tag().GetAttr("href"), "&amp;");
    EXPECT_TRUE(parser.Eof());
    EXPECT_FALSE(parser.Next());
    EXPECT_EQ(parser.TokenText(), "");
}

TEST(HtmlParser, LookupsIgnoreAsciiCaseAndTakeTheFirstDuplicate) {
    THtmlParser parser("<Dl X=1 x=2 y>text");
    ASSERT_TRUE(parser.Next());
    const THtmlTag& tag = parser.Tag();
    EXPECT_TRUE(tag.IsTag("dL"));
    EXPECT_FALSE(tag.IsTag("d"));
    EXPECT_TRUE(tag.HasAttr("Y"));
    EXPECT_FALSE(tag.HasAttr("z"));
    EXPECT_EQ(tag.GetAttr("x"), "1");
    EXPECT_EQ(tag.GetAttr("z"), "");
    ASSERT_TRUE(parser.Next());
    EXPECT_TRUE(parser.Tag().IsTag(""));
    EXPECT_TRUE(parser.Tag().IsStart()); // kept from the tag before
}

} // namespace
} // namespace hv

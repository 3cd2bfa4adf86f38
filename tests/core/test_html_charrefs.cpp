#include "text/CharRefs.h"
#include "text/HtmlEscape.h"

#include <gtest/gtest.h>

#include <string>

namespace hv {
namespace {

struct TRefCase {
    std::string Input;
    std::string Text;      // decoded as element text
    std::string Attribute; // decoded as an attribute value
};

class TCharRefTest : public ::testing::TestWithParam<TRefCase> {};

TEST_P(TCharRefTest, DecodesAsABrowserDoes) {
    EXPECT_EQ(DecodeCharRefs(GetParam().Input), GetParam().Text);
    EXPECT_EQ(DecodeCharRefs(GetParam().Input, TCharRefContext::Attribute), GetParam().Attribute);
}

INSTANTIATE_TEST_SUITE_P(
    References, TCharRefTest,
    ::testing::Values(TRefCase{"&amp;&AMP;&lt;&gt;&quot;&apos;", "&&<>\"'", "&&<>\"'"},
                      TRefCase{"a&nbsp;b", "a\u00A0b", "a\u00A0b"}, TRefCase{"&#65;&#x42;&#X43;&#0068", "ABCD", "ABCD"},
                      TRefCase{"&#x1F600;&#128;&#x9F;", "😀€Ÿ", "😀€Ÿ"},
                      TRefCase{"&#0;&#xD800;&#x110000;&#99999999999;", "\uFFFD\uFFFD\uFFFD\uFFFD",
                               "\uFFFD\uFFFD\uFFFD\uFFFD"},
                      TRefCase{"&NotEqualTilde;&fjlig;", "≂̸fj", "≂̸fj"},
                      // Legacy names without ";": not inside an address before "=", a letter or a digit.
                      TRefCase{"?a=1&copy=2&amp=3&lt", "?a=1©=2&=3<", "?a=1&copy=2&amp=3<"},
                      TRefCase{"&copy;=2 &notit; &ampx", "©=2 ¬it; &x", "©=2 &notit; &ampx"},
                      TRefCase{"& &; &#; &#x; &unknown; &", "& &; &#; &#x; &unknown; &", "& &; &#; &#x; &unknown; &"},
                      TRefCase{"日本&amp;語", "日本&語", "日本&語"}));

TEST(EscapeHtml, ReplacesTheFourCharactersOnlyAndNumericReferencesAreDecimal) {
    EXPECT_EQ(NumericCharRef(U'😀'), "&#128512;");
    EXPECT_EQ(EscapeHtml("<b>&\"x'\" 日本"), "&lt;b&gt;&amp;&quot;x'&quot; 日本");
    EXPECT_EQ(EscapeHtml("&amp;"), "&amp;amp;");
    EXPECT_EQ(DecodeCharRefs(EscapeHtml("<a href=\"x&y\">")), "<a href=\"x&y\">");
}

} // namespace
} // namespace hv

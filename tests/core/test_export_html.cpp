#include "importexport/ExpHtml.h"
#include "model/HVFolder.h"
#include "model/ItemOrder.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

struct TEncodeCase {
    const char* Label;
    int Kanji;
    std::string Text;
    std::string Bytes;
};

class HtmlPieceTest : public ::testing::TestWithParam<TEncodeCase> {};

TEST_P(HtmlPieceTest, EncodesOnePiece) {
    EXPECT_EQ(EncodeHtmlPiece(GetParam().Text, GetParam().Kanji), GetParam().Bytes);
}

// 漢字 = CP932 8ABF 8E9A = JIS 3441 3B7A; ｶﾞ (half-width ka + voiced mark) = ガ = CP932 834B.
INSTANTIATE_TEST_SUITE_P(
    Encoders, HtmlPieceTest,
    ::testing::Values(TEncodeCase{"SjisKanji", 0, "a\xE6\xBC\xA2\xE5\xAD\x97", "a\x8A\xBF\x8E\x9A"},
                      TEncodeCase{"JisKanjiEndsInAsciiMode", 1, "\xE6\xBC\xA2\xE5\xAD\x97", "\x1B$B4A;z\x1B(B"},
                      TEncodeCase{"EucKanji", 2, "\xE6\xBC\xA2\xE5\xAD\x97", "\xB4\xC1\xBB\xFA"},
                      TEncodeCase{"Utf8Kanji", 3, "\xE6\xBC\xA2", "\xE6\xBC\xA2"},
                      TEncodeCase{"SjisHalfWidthVoiced", 0, "\xEF\xBD\xB6\xEF\xBE\x9E", "\x83\x4B"},
                      TEncodeCase{"EucHalfWidth", 2, "\xEF\xBD\xB1", "\xA5\xA2"},
                      TEncodeCase{"Utf8HalfWidthWidened", 3, "\xEF\xBE\x8A\xEF\xBE\x9F", "\xE3\x83\x91"},
                      TEncodeCase{"EmojiAsReference", 0, "\xF0\x9F\x98\x80", "&#128512;"},
                      TEncodeCase{"VendorExtensionInEuc", 2, "\xE2\x85\xB0",
                                  "&#8560;"}, // small roman numeral one (CP932 FA40)
                      TEncodeCase{"VendorExtensionInSjis", 0, "\xE2\x85\xB0", "\xFA\x40"}),
    [](const auto& info) { return info.param.Label; });

class HtmlPageTest : public ::testing::Test {
protected:
    std::string Page(const TExportHtmlOptions& options) { return BuildHtmlPage(m_Root, options, TItemOrder{}); }
    THVFolder m_Root{"Root"};
};

TEST_F(HtmlPageTest, EmptyFolderWithDefaults) {
    TExportHtmlOptions options;
    options.Title = "T";
    EXPECT_EQ(Page(options), "<html><head><title>T</title>\r\n"
                             "<meta http-equiv=Content-type content=\"text/html; charset=shift_jis\">\r\n"
                             "</head>\r\n\r\n"
                             "<body bgcolor=#ffffff text=#000000 link=#0000ff vlink=#000080><dl>\r\n"
                             "<h1>Root</h1>\r\n<dl>\r\n</dl>\r\n"
                             "</dl></body></html>\r\n");
}

TEST_F(HtmlPageTest, ItemsSortedEscapedWithMemoAndLfLineEnds) {
    THVItem* b = m_Root.List().Add("b<i>");
    b->SetURL("http://x/?q=\"><script>");
    b->SetMemo("one\r\ntwo");
    m_Root.List().Add("a")->SetURL("u");
    m_Root.AddChild("Sub & Co");
    TExportHtmlOptions options;
    options.ReturnCode = 1;
    options.FolderName = 3;
    options.BoldItem = true;
    const std::string page = Page(options);
    EXPECT_EQ(page.find('\r'), std::string::npos);
    EXPECT_NE(page.find("<b>Root</b><br><br>\n<dl>\n<dt><b><a href=\"u\" title=\"u\">a</a></b>\n<br>\n<br>\n"),
              std::string::npos);
    EXPECT_NE(page.find("<a href=\"http://x/?q=&quot;&gt;&lt;script&gt;\" "
                        "title=\"http://x/?q=&quot;&gt;&lt;script&gt;\">b&lt;i&gt;</a></b>\n<dd>one<br>two\n<br>\n"),
              std::string::npos);
    EXPECT_NE(page.find("<dt>\n<b>Sub &amp; Co</b><br><br>\n<dl>\n</dl>\n</dl>\n"), std::string::npos);
    EXPECT_EQ(m_Root.List().Items(0)->GetName(), "a"); // the document's order follows
}

TEST_F(HtmlPageTest, CommandsWithAcceleratorOnlyWhenShown) {
    THVItem* item = m_Root.List().Add("i");
    TCmdItem& first = item->GetCommands().Add();
    first.Title = "&Search";
    first.CommandLine = "prog \"a\"";
    item->GetCommands().Add().Title = "\xE6\xBC\xA2&x&y";
    TExportHtmlOptions options;
    EXPECT_EQ(Page(options).find("prog"), std::string::npos);
    options.ShowCmd = true;
    options.KanjiCode = 3;
    const std::string page = Page(options);
    EXPECT_NE(page.find("<dd><a href=\"prog &quot;a&quot;\" title=\"prog &quot;a&quot;\"><u>S</u>earch</a><br>\r\n"
                        "<a href=\"\" title=\"\">\xE6\xBC\xA2<u>x</u>&amp;y</a><br>\r\n<br>\r\n"),
              std::string::npos);
}

TEST(HtmlOptions, DefaultTitleAndCharsets) {
    EXPECT_EQ(DefaultHtmlTitle("/home/u/My.hv"), "Hollyvine - My.hv");
    EXPECT_EQ(HtmlCharset(1), "iso-2022-jp");
    EXPECT_EQ(HtmlCharset(3), "utf-8");
    EXPECT_EQ(HtmlCharset(9), "shift_jis");
}

} // namespace
} // namespace hv

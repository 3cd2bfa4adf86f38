#include "BookmarkTestSupport.h"
#include "importexport/HtmlParse.h"
#include "importexport/ImpHtml.h"
#include "model/HVFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hv {
namespace {

std::vector<THtmlLink> Links(const std::string& page, std::vector<THtmlLink> links = {}) {
    ReadHtmlLinksFromText(page, "page.html", links);
    return links;
}

// "title|url|source|sequence|checked" for each row.
std::vector<std::string> Rows(const std::vector<THtmlLink>& links) {
    std::vector<std::string> rows;
    for (const THtmlLink& link : links) {
        rows.push_back(link.Title + "|" + link.URL + "|" + link.Source + "|" + std::to_string(link.Sequence) + "|" +
                       (link.Checked ? "1" : "0"));
    }
    return rows;
}

TEST(CleanLinkTitle, ReadsAsTheBrowserShowsIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "(Untitled)"},
        {" \r\n\t&nbsp;", "(Untitled)"},
        {"a\\b&#92;", "a￥b￥"},
        {"a\tb\r\nc", "a b c"},
        {"&quot;x&QUOT; &amp; &lt;b&gt;&nbsp;y", "\"x\" & <b> y"},
        {"  spaced  ", "  spaced  "},
        {"bell&#7;line&#10;", "bellline "},
        {"A&NBSP;B&nbsp;C&NBSP", "A B C&NBSP"}, // capitals too, with the semicolon only
        {"&NBSP;&NBSP;", "(Untitled)"},
    };
    for (const auto& [raw, title] : cases) {
        EXPECT_EQ(CleanLinkTitle(raw), title) << raw;
    }
}

TEST(IsImportScheme, TicksTheFourWebSchemes) {
    for (const char* url : {"http://a", "HTTPS://a", "ftp://a", "Gopher://a"}) {
        EXPECT_TRUE(IsImportScheme(url)) << url;
    }
    for (const char* url : {"mailto:a@b", "javascript:x()", "page.html", "", "news:x", " http://a"}) {
        EXPECT_FALSE(IsImportScheme(url)) << url;
    }
}

TEST(ReadHtmlLinks, RowsCarryTitleUrlSourceAndOrder) {
    const auto links = Links("<p><A HREF=\"http://a/?x=1&amp;y=2\">A &amp; B</A>\r\n"
                             "<a href=mailto:x@y>mail</a> <a href='rel.html'>Rel\r\native</a>");
    EXPECT_EQ(Rows(links), (std::vector<std::string>{"A & B|http://a/?x=1&y=2|page.html (1行目)|1|1",
                                                     "mail|mailto:x@y|page.html (2行目)|2|0",
                                                     "Rel ative|rel.html|page.html (2行目)|3|0"}));
}

TEST(ReadHtmlLinks, BrokenNestingKeepsEveryLink) {
    const auto links = Links("<a name=top>Top\r\n"                                  // never closed
                             "<a href=http://1>one<a href=http://2>two</a></a>\r\n" // nested, stray end
                             "<a href=http://3><img src=x></a>"                     // image only
                             "<a href=http://4>x<!-- note -->y<b>z</b></a>"
                             "<a href=http://5>open at the end");
    EXPECT_EQ(Rows(links), (std::vector<std::string>{
                               "one|http://1|page.html (2行目)|1|1", "two|http://2|page.html (2行目)|2|1",
                               "(Untitled)|http://3|page.html (3行目)|3|1", "xyz|http://4|page.html (3行目)|4|1",
                               "open at the end|http://5|page.html (3行目)|5|1"}));
}

TEST(ReadHtmlLinks, SequenceRunsOnAcrossFilesAndErrorsKeepRows) {
    std::vector<THtmlLink> links = Links("<a href=http://a>a</a>");
    EXPECT_THROW(ReadHtmlLinksFromText("<a href=http://b>b</a><a href=\"http://c", "two.html", links), EHtmlParseError);
    EXPECT_EQ(Rows(links),
              (std::vector<std::string>{"a|http://a|page.html (1行目)|1|1", "b|http://b|two.html (1行目)|2|1"}));
}

TEST(ImportHtmlLinks, AddsCheckedRowsWithUniqueNames) {
    THVFolder root("Hollyvine");
    root.List().Add()->SetName("Same");
    std::vector<THtmlLink> links(3);
    links[0] = {"Same", "http://a", "", 1, true};
    links[1] = {"other", "mailto:b", "", 2, false};
    links[2] = {"SAME", "http://c", "", 3, true};
    EXPECT_EQ(ImportHtmlLinks(links, root), 2);
    EXPECT_EQ(ImportHtmlLinks(links, root, true), 3);
    EXPECT_EQ(test::Outline(root), "Same <>\nSame~1 <http://a>\nSAME~2 <http://c>\nSame~3 <http://a>\n"
                                   "other <mailto:b>\nSAME~4 <http://c>\n");
    EXPECT_EQ(LinksImportedMessage(2), "2個のリンクをインポートしました。");
}

} // namespace
} // namespace hv

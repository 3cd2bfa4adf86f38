#include "BookmarkTestSupport.h"
#include "FakePrompts.h"
#include "importexport/HtmlParse.h"
#include "importexport/ImpBookmark.h"
#include "platform/BookmarkLocator.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hv {
namespace {

using test::Outline;
using test::TTimeZone;

std::string Import(const std::string& bytes, TBookmarkImportResult* result = nullptr) {
    THVFolder root("Hollyvine");
    const TBookmarkImportResult r = ImportBookmarks(bytes, root);
    if (result != nullptr) {
        *result = r;
    }
    return Outline(root);
}

TEST(BookmarkImport, WalksTheListsAndHeadings) {
    struct TCase {
        const char* Name;
        std::string File;
        std::string Tree;
    };
    const TCase cases[] = {
        {"NoList", "<A HREF=x>a</A>", ""},
        {"NothingAfterList", "<DL>", ""},
        {"EndsAtTheTargetsListEnd", "<DL><DT><A HREF=x>a</A></DL><DT><A HREF=y>b</A>", "a <x>\n"},
        {"ListWithoutHeadingKeepsGoing", "<DL><DL><DT><A HREF=x>a</A></DL><DT><A HREF=y>b</A></DL>", "a <x>\nb <y>\n"},
        {"TwoListsAfterOneHeadingFillOneFolder",
         "<DL><DT><H3>F</H3><DL><DT><A HREF=x>a</A></DL><DL><DT><A HREF=y>b</A></DL></DL>", "[F]\n  a <x>\n  b <y>\n"},
        {"SameHeadingInOtherCaseContinues",
         "<DL><DT><H3>News</H3><DL></DL><DT><H3>NEWS</H3><DL><DT><A HREF=x>a</A></DL></DL>", "[News]\n  a <x>\n"},
        {"FoldersSortedAtEveryLevel",
         "<DL><DT><H3>b</H3><DL><DT><H3>z</H3><DL></DL><DT><H3>y</H3><DL></DL></DL>"
         "<DT><H3>a</H3><DL></DL></DL>",
         "[a]\n[b]\n  [y]\n  [z]\n"},
        {"AnchorWithoutText", "<DL><DT><A HREF=x></A><DT><A HREF=y>  </A>", "(    ) <x>\n(    )~1 <y>\n"},
        {"SameTextGetsSuffix", "<DL><DT><A HREF=x>a</A><DT><A HREF=y>A</A>", "a <x>\nA~1 <y>\n"},
        {"NamesAndUrlsDecoded", "<DL><DT><A HREF=\"a?x=1&amp;y=2\">x &lt;&gt; &quot;y&quot;\n\tz</A>",
         "x <> \"y\"  z <a?x=1&y=2>\n"},
        {"HeadingNames", "<DL><DT><H3>a\\b &amp; c</H3><DL></DL><DT><H3></H3><DL></DL>", "[(    )]\n[a￥b & c]\n"},
        {"BlankTextAfterDt", "<DL><DT>\n    <A HREF=x>a</A>", "a <x>\n"},
        {"TagAfterDdIsNotSwallowed", "<DL><DT><A HREF=x>a</A><DD><DT><A HREF=y>b</A>", "a <x>\nb <y>\n"},
        {"LastVisit",
         "<DL><DT><A HREF=a LAST_VISIT=0>a</A><DT><A HREF=b last_visit=86400>b</A>"
         "<DT><A HREF=c LAST_VISIT=12x>c</A><DT><A HREF=d LAST_VISIT=99999999999999>d</A>",
         "a <a>\nb <b> @1970/1/2 0:00\nc <c>\nd <d>\n"},
        {"DescriptionAfterHeadingIgnored", "<DL><DT><A HREF=x>a</A><DT><H3>F</H3><DD>lost<DL></DL>", "a <x>\n[F]\n"},
        {"MemoLinesAndTrailingBlanks",
         "<DL>\n<DT><A HREF=x>a</A>\n<DD>one &amp; <BR>two<br>\r\r\nthree\n  line\n    <DT><A HREF=y>b</A>",
         "a <x> {one & \r\ntwo\r\nthree\r\n  line}\nb <y>\n"},
        {"CrCrLfEndsTheDescription", "<DL><DT><A HREF=x>a</A><DD>one\r\r\nlost<DD>more<BR>more", "a <x> {one}\n"},
    };
    TTimeZone zone("UTC0");
    for (const TCase& c : cases) {
        EXPECT_EQ(Import(c.File), c.Tree) << c.Name;
    }
}

TEST(BookmarkImport, FirefoxExport) {
    const std::string file = R"(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<!-- This is an automatically generated file.
     It will be read and overwritten.
     DO NOT EDIT! -->
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<meta http-equiv="Content-Security-Policy"
      content="default-src 'self'; script-src 'none'; img-src data: *; object-src 'none'"></meta>
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks Menu</H1>

<DL><p>
    <DT><A HREF="https://www.mozilla.org/" ADD_DATE="1700000000" LAST_MODIFIED="1700000001" ICON_URI="fake-favicon-uri:https://www.mozilla.org/" ICON="data:image/png;base64,)" +
                             std::string(20000, 'A') + R"(=">Mozilla &amp; Friends</A>
    <DD>Line one
line two &lt;b&gt;
    <HR>
    <DT><H3 ADD_DATE="1" LAST_MODIFIED="2" PERSONAL_TOOLBAR_FOLDER="true">Bookmarks Toolbar</H3>
    <DL><p>
        <DT><A HREF="https://a.example/" ADD_DATE="1" LAST_MODIFIED="2" TAGS="x,y">日本語 &quot;引用&quot;</A>
    </DL><p>
    <DT><H3 ADD_DATE="1" LAST_MODIFIED="2" UNFILED_BOOKMARKS_FOLDER="true">Other Bookmarks</H3>
    <DL><p>
    </DL><p>
</DL>
)";
    EXPECT_EQ(Import(file), "Mozilla & Friends <https://www.mozilla.org/> {Line one\r\nline two <b>}\n"
                            "[Bookmarks Toolbar]\n  日本語 \"引用\" <https://a.example/>\n[Other Bookmarks]\n");
}

TEST(BookmarkImport, ChromeExportWithCrLf) {
    const std::string file =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
        "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n"
        "    <DT><H3 ADD_DATE=\"13300000000\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks bar</H3>\r\n"
        "    <DL><p>\r\n"
        "        <DT><A HREF=\"https://news.example/\" ADD_DATE=\"1\" ICON=\"data:,\">ニュース</A>\r\n"
        "    </DL><p>\r\n"
        "    <DT><A HREF=\"https://other.example/\" ADD_DATE=\"1\">Other</A>\r\n"
        "</DL><p>\r\n";
    TBookmarkImportResult result;
    EXPECT_EQ(Import(file, &result),
              "Other <https://other.example/>\n[Bookmarks bar]\n  ニュース <https://news.example/>\n");
    EXPECT_EQ(result.Folders, 1);
    EXPECT_EQ(result.Items, 2);
    EXPECT_TRUE(result.Modified);
}

TEST(BookmarkImport, NetscapeShiftJisFileInJapan) {
    TTimeZone zone("JST-9");
    const std::string file =
        *EncodeCp932("<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks for K</TITLE>\r\n"
                     "<DL><p>\r\n    <DT><H3 FOLDED ADD_DATE=\"9\">個人用</H3>\r\n    <DL><p>\r\n"
                     "        <DT><A HREF=\"http://www.yahoo.co.jp/\" LAST_VISIT=\"86400\">ヤフー</A>\r\n"
                     "<DD>検索<BR>\r\nポータル\r\n    </DL><p>\r\n</DL><p>\r\n");
    EXPECT_EQ(Import(file), "[個人用]\n  ヤフー <http://www.yahoo.co.jp/> @1970/1/2 9:00 {検索\r\nポータル}\n");
}

TEST(BookmarkImport, LastVisitUsesTheLocalTimeAcrossAChangeOfTheClock) {
    TTimeZone zone(test::kCentralEurope);
    // 2024-03-31 00:59:59 and 01:00:00 UTC: the last second of CET and the first of CEST.
    EXPECT_EQ(Import("<DL><DT><A HREF=a LAST_VISIT=1711846799>a</A><DT><A HREF=b LAST_VISIT=1711846800>b</A>"),
              "a <a> @2024/3/31 1:59\nb <b> @2024/3/31 3:00\n");
}

TEST(BookmarkImport, ErrorKeepsWhatWasImportedSorted) {
    THVFolder root("Hollyvine");
    EXPECT_THROW(ImportBookmarks("<DL><DT><H3>b</H3><DL></DL><DT><H3>a</H3><DL><DT><A HREF=x>x</A></DL>"
                                 "<DT><A HREF=\"y",
                                 root),
                 EHtmlParseError);
    EXPECT_EQ(Outline(root), "[a]-\n  x <x>\n[b]-\n");
}

TEST(BookmarkImport, ReportsItemsOfTheShownFolder) {
    THVFolder root("Hollyvine");
    int shown = 0;
    TBookmarkImportOptions options;
    options.ShownFolder = &root;
    options.OnItemShown = [&shown](THVItem&) { ++shown; };
    ImportBookmarks("<DL><DT><A HREF=x>a</A><DT><H3>F</H3><DL><DT><A HREF=y>b</A></DL><DT><A HREF=z>c</A>", root,
                    options);
    EXPECT_EQ(shown, 2);
    EXPECT_FALSE(CanImportBookmarksInto(root));
}

class TBookmarkLocatorTest : public test::TDirTest {
protected:
    std::string Put(const std::string& relative, const std::string& text = "<DL>") const {
        return TDirTest::Put(relative, text);
    }
    const std::filesystem::path& m_Home = m_Dir;
};

TEST_F(TBookmarkLocatorTest, PrefersTheMozillaDefaultProfile) {
    EXPECT_EQ(FindUserBookmarkFile(m_Home.string()), std::nullopt);
    const std::string netscape = Put(".netscape/bookmarks.html");
    EXPECT_EQ(FindUserBookmarkFile(m_Home.string()), netscape);
    Put(".mozilla/firefox/profiles.ini", "[Profile1]\nName=old\nIsRelative=1\nPath=old.x\n\n"
                                         "[Profile0]\nName=main\nIsRelative=1\nPath=main.x\nDefault=1\n");
    Put(".mozilla/firefox/old.x/bookmarks.html");
    const std::string main = Put(".mozilla/firefox/main.x/bookmarks.html");
    EXPECT_EQ(FindUserBookmarkFile(m_Home.string()), main);
    Put(".mozilla/firefox/profiles.ini", "[Install4F96D1932A9F858E]\r\nDefault=old.x\r\nLocked=1\r\n"
                                         "[Profile0]\r\nPath=main.x\r\nDefault=1\r\n");
    EXPECT_EQ(FindUserBookmarkFile(m_Home.string()), (m_Home / ".mozilla/firefox/old.x/bookmarks.html").string());
}

TEST_F(TBookmarkLocatorTest, TheQuestionChoosesBetweenTheBookmarksInUseAndAFile) {
    const std::string inUse = Put(".netscape/bookmarks.html");
    struct TCase {
        TYesNoCancel Answer;
        std::optional<std::string> File;
        std::string AskedIn; // "" when the file dialog is not shown
    };
    const TCase cases[] = {
        {TYesNoCancel::Yes, inUse, ""},
        {TYesNoCancel::No, "/chosen.html", (m_Home / ".netscape").string()},
        {TYesNoCancel::Cancel, std::nullopt, ""},
    };
    for (const TCase& c : cases) {
        test::TFakePrompts prompts;
        prompts.YesNoCancelAnswers = {c.Answer};
        std::string askedIn;
        const auto file = ChooseBookmarkFile(m_Home.string(), prompts, [&askedIn](const std::string& dir) {
            askedIn = dir;
            return std::optional<std::string>("/chosen.html");
        });
        EXPECT_EQ(file, c.File);
        EXPECT_EQ(askedIn, c.AskedIn);
        EXPECT_EQ(prompts.Only().Kind, test::TFakePrompts::TKind::YesNoCancel);
    }
}

} // namespace
} // namespace hv

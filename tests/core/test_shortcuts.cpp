#include "BookmarkTestSupport.h"
#include "FakePrompts.h"
#include "importexport/Shortcut.h"
#include "model/HVFolder.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

TEST(ShortcutUrl, ReadsTheUrlValueLikeAnIniFile) {
    struct TCase {
        const char* Label;
        std::string Bytes;
        std::string Url;
    };
    const TCase cases[] = {
        {"Plain", "[InternetShortcut]\r\nURL=http://a/\r\n", "http://a/"},
        {"LfOnly", "[InternetShortcut]\nURL=http://a/", "http://a/"},
        {"CaseAndBlanks", "  [internetshortcut]  \r\n  url = http://a/b  \r\n", "http://a/b"},
        {"OtherSectionFirst", "[Other]\r\nURL=x\r\n[InternetShortcut]\r\nURL=y\r\n", "y"},
        {"FirstKeyWins", "[InternetShortcut]\r\nURL=a\r\nURL=b\r\n", "a"},
        {"Quoted", "[InternetShortcut]\r\nURL=\"http://q/\"\r\n", "http://q/"},
        {"NoUrlKey", "[InternetShortcut]\r\nIconIndex=1\r\n", ""},
        {"KeyOutsideSection", "URL=http://a/\r\n", ""},
        {"Empty", "", ""},
        {"Utf8Bom", "\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://a/\xE6\xBC\xA2\r\n", "http://a/\xE6\xBC\xA2"},
        // 漢 in CP932 is 0x8A 0xBF; the trail byte is not valid UTF-8
        {"Cp932", "[InternetShortcut]\r\nURL=http://a/\x8A\xBF\r\n", "http://a/\xE6\xBC\xA2"},
        // 表 (0x95 0x5C) ends in a byte that looks like "\" and must not break the line
        {"Cp932Backslash", "[InternetShortcut]\r\nURL=\x95\x5C\r\n", "\xE8\xA1\xA8"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ParseShortcutURL(c.Bytes), c.Url) << c.Label;
    }
}

TEST(ShortcutUrl, CutsAt2099BytesWithoutSplittingACharacter) {
    EXPECT_EQ(ParseShortcutURL("[InternetShortcut]\nURL=" + std::string(3000, 'a')), std::string(2099, 'a'));
    // 2098 ASCII bytes and a three-byte character: the character does not fit and goes whole.
    const std::string utf8 = std::string(2098, 'a') + "\xE6\xBC\xA2";
    EXPECT_EQ(ParseShortcutURL("[InternetShortcut]\nURL=" + utf8), std::string(2098, 'a'));
}

TEST(ShortcutFile, IsTwoCrLfLinesInUtf8) {
    EXPECT_EQ(BuildShortcutFile("http://a/\xE6\xBC\xA2"), "[InternetShortcut]\r\nURL=http://a/\xE6\xBC\xA2\r\n");
    EXPECT_EQ(ParseShortcutURL(BuildShortcutFile("http://x/?a=1&b=\"2\"")), "http://x/?a=1&b=\"2\"");
    // A URL in quotes of its own keeps them, and blanks at its ends stay.
    for (const char* quoted : {"'''''", "\"a\"", "''", "'x' and 'y'", "\t''", " a ", "\""}) {
        EXPECT_EQ(ParseShortcutURL(BuildShortcutFile(quoted)), quoted) << quoted;
    }
    // Read as CP932 (the bytes are no UTF-8), the URL keeps the undecodable byte 0x82 at its end;
    // written back, it reads as the same URL.
    const std::string cp932 = "[InternetShortcut]\r\nURL=http://e/\xE3\x83\x9A\xE3\x83\xBC\x82\xB8\r\n";
    const std::string kept = ParseShortcutURL(cp932);
    EXPECT_EQ(ParseShortcutURL(BuildShortcutFile(kept)), kept);
    EXPECT_EQ(BuildShortcutFile(kept), cp932);
}

TEST(ShortcutName, StripsDirectoryAndUrlExtensionInAnyCase) {
    EXPECT_EQ(ShortcutName("/d/Page.URL"), "Page");
    EXPECT_EQ(ShortcutName("a.b.url"), "a.b");
    EXPECT_EQ(ShortcutName("/d/page.lnk"), "");
    EXPECT_EQ(ShortcutName("url"), "");
}

using ShortcutImportTest = test::TDirTest;

TEST_F(ShortcutImportTest, SkipsEmptyUrlsAndOtherFilesMakesNamesUniqueAndReportsTheCount) {
    const auto x = Put("x.url", BuildShortcutFile("http://x/"));
    const auto noUrl = Put("none.url", "[InternetShortcut]\r\n");
    const auto text = Put("readme.txt", BuildShortcutFile("http://t/"));
    THVFolder folder("f");
    test::TFakePrompts prompts;
    EXPECT_EQ(ImportShortcuts({x, noUrl, text, x, PathOf("missing.url")}, folder, prompts), 2);
    EXPECT_EQ(test::Outline(folder), "x <http://x/>\nx~1 <http://x/>\n");
    EXPECT_EQ(prompts.Only().Text, "2 個のショートカットをインポートしました。");
    test::TFakePrompts none;
    EXPECT_EQ(ImportShortcuts({}, folder, none), 0);
    EXPECT_EQ(none.Only().Text, "0 個のショートカットをインポートしました。");
}

TEST_F(ShortcutImportTest, FreedesktopLinkFilesAreShortcutsToo) {
    const auto named = Put("a.desktop", "[Desktop Entry]\nType=Link\nName=Qt docs\nURL=https://doc.qt.io/\n");
    const auto unnamed = Put("Page.DESKTOP", "[Desktop Entry]\nType=Link\nURL=https://u.example/\n");
    const auto app = Put("app.desktop", "[Desktop Entry]\nType=Application\nExec=true\n");
    THVFolder folder("f");
    test::TFakePrompts prompts;
    EXPECT_EQ(ImportShortcuts({named, unnamed, app}, folder, prompts), 2);
    EXPECT_EQ(test::Outline(folder), "Qt docs <https://doc.qt.io/>\nPage <https://u.example/>\n");
}

} // namespace
} // namespace hv

#include "BookmarkTestSupport.h"
#include "FakePrompts.h"
#include "importexport/ExpFavorites.h"
#include "importexport/Favorites.h"
#include "importexport/Shortcut.h"
#include "model/HVFolder.h"
#include "platform/SafeFile.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hv {
namespace {

namespace fs = std::filesystem;

using FavoritesTest = test::TDirTest;

TEST_F(FavoritesTest, ImportCopiesNestedDirectoriesAndShortcuts) {
    Put("fav/News/a.url", BuildShortcutFile("http://a/"));
    Put("fav/News/Deep/b.URL", BuildShortcutFile("http://b/"));
    Put("fav/Page.URL", BuildShortcutFile("http://p/"));
    Put("fav/nourl.url", "[InternetShortcut]\r\n");
    Put("fav/page.lnk", "x");
    Put("fav/readme.txt", "x");
    Put("fav/Alpha/.hidden.url", BuildShortcutFile("http://h/"));
    THVFolder target("t");
    target.List().Add("old");
    test::TFakePrompts prompts;
    prompts.YesNoAnswers = {true};
    EXPECT_TRUE(ImportFavorites(target, PathOf("fav"), prompts));
    // Folders sorted afterwards; a hidden shortcut, other files and links of other kinds stay out.
    EXPECT_EQ(test::Outline(target), "old <>\nPage <http://p/>\nnourl <>\n[Alpha]-\n[News]-\n  a <http://a/>\n"
                                     "  [Deep]-\n    b <http://b/>\n");
    EXPECT_TRUE(target.Expanded());
    ASSERT_EQ(prompts.Records.size(), 2u);
    EXPECT_EQ(
        prompts.Records[0].Text,
        "フォルダ 't' の中に、Windows に登録されている [お気に入り] の内容を取り込みます。\n\n続けてよろしいですか？");
    EXPECT_EQ(prompts.Records[0].Title, "[お気に入り] のインポート");
    EXPECT_EQ(prompts.Records[1].Text, "[お気に入り] のインポートが完了しました。");
}

TEST_F(FavoritesTest, ImportMakesNamesUniqueAndMergesCaseVariantsOfADirectory) {
    Put("fav/News/x.url", BuildShortcutFile("http://1/"));
    Put("fav/news/x.url", BuildShortcutFile("http://2/"));
    Put("fav/news/X.URL", BuildShortcutFile("http://3/"));
    THVFolder target("t");
    target.List().Add("x");
    EXPECT_TRUE(ImportFavoritesTree(target, PathOf("fav")));
    EXPECT_EQ(test::Outline(target), "x <>\n[News]-\n  x <http://1/>\n  X~1 <http://3/>\n  x~2 <http://2/>\n");
}

TEST_F(FavoritesTest, ImportDoesNotLoopThroughALinkToAnUpperDirectory) {
    Put("fav/sub/a.url", BuildShortcutFile("http://a/"));
    fs::create_directory_symlink(PathOf("fav"), PathOf("fav/sub/up"));
    THVFolder target("t");
    ImportFavoritesTree(target, PathOf("fav"));
    // "up" becomes a folder once, without content.
    EXPECT_EQ(test::Outline(target), "[sub]-\n  a <http://a/>\n  [up]-\n");
}

TEST_F(FavoritesTest, ImportRefusesAFolderWithSubfoldersAndStopsOnNo) {
    THVFolder target("t");
    target.AddChild("c");
    test::TFakePrompts prompts;
    EXPECT_FALSE(ImportFavorites(target, PathOf("fav"), prompts));
    EXPECT_EQ(prompts.Only().Kind, test::TFakePrompts::TKind::Warning);
    THVFolder empty("e");
    test::TFakePrompts declined;
    declined.YesNoAnswers = {false};
    EXPECT_FALSE(ImportFavorites(empty, PathOf("missing"), declined));
    EXPECT_EQ(declined.Records.size(), 1u);
}

TEST(SafeFileName, WidensTheElevenCharactersAndBareDotsAfterDroppingControls) {
    EXPECT_EQ(SafeFileName("a/b:c?"), "a\xEF\xBC\x8F"
                                      "b\xEF\xBC\x9A"
                                      "c\xEF\xBC\x9F");
    EXPECT_EQ(SafeFileName("\\,;*\"<>|"), "\xEF\xBC\xBC\xEF\xBC\x8C\xEF\xBC\x9B\xEF\xBC\x8A\xEF\xBC\x82\xEF\xBC\x9C"
                                          "\xEF\xBC\x9E\xEF\xBD\x9C");
    EXPECT_EQ(SafeFileName(".."), "\xEF\xBC\x8E\xEF\xBC\x8E");
    EXPECT_EQ(SafeFileName("a.b"), "a.b");
    EXPECT_EQ(SafeFileName(std::string("a\0b\tc\x7F\x1F", 8)), "abc");
    EXPECT_EQ(SafeFileName(std::string(".\0.", 3)), "\xEF\xBC\x8E\xEF\xBC\x8E");
}

TEST_F(FavoritesTest, ANulInANameNeverCutsTheShortcutsFileName) {
    THVFolder root("r");
    root.List().Add(std::string(".profile\0x", 10))->SetURL("http://p/");
    root.AddChild(std::string("d\0", 2))->List().Add("s")->SetURL("http://s/");
    EXPECT_TRUE(ExportFavoritesTree(root, PathOf("out")).empty());
    EXPECT_FALSE(fs::exists(PathOf("out/.profile")));
    EXPECT_EQ(ReadFileBytes(PathOf("out/.profilex.url")), "[InternetShortcut]\r\nURL=http://p/\r\n");
    EXPECT_TRUE(FileExists(PathOf("out/d/s.url")));
}

TEST_F(FavoritesTest, ExportNeverFollowsALinkInsideTheDestination) {
    fs::create_directories(PathOf("elsewhere"));
    fs::create_directories(PathOf("out"));
    fs::create_directory_symlink(PathOf("elsewhere"), PathOf("out/sub"));
    fs::create_directories(PathOf("real"));
    fs::create_directory_symlink(PathOf("real"), PathOf("chosen")); // the destination itself may be a link
    THVFolder root("r");
    root.List().Add("top")->SetURL("http://t/");
    root.AddChild("sub")->List().Add("a")->SetURL("http://a/");
    root.AddChild("next")->List().Add("b")->SetURL("http://b/");
    const auto errors = ExportFavoritesTree(root, PathOf("out"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "フォルダ '" + PathOf("out/sub") + "' を作れませんでした。");
    EXPECT_TRUE(fs::is_empty(PathOf("elsewhere")));
    EXPECT_TRUE(FileExists(PathOf("out/top.url")));
    EXPECT_TRUE(FileExists(PathOf("out/next/b.url"))); // the walk came back up past the refused link
    EXPECT_TRUE(ExportFavoritesTree(root, PathOf("chosen")).empty());
    EXPECT_TRUE(FileExists(PathOf("real/sub/a.url")));
    EXPECT_TRUE(FileExists(PathOf("real/next/b.url")));
}

TEST_F(FavoritesTest, ExportNumbersInsteadOfOverwriting) {
    THVFolder root("r");
    root.List().Add("Name")->SetURL("http://n/");
    root.AddChild("Sub")->List().Add("s")->SetURL("http://s/");
    EXPECT_TRUE(ExportFavoritesTree(root, PathOf("out")).empty());
    EXPECT_TRUE(ExportFavoritesTree(root, PathOf("out")).empty());
    EXPECT_EQ(ReadFileBytes(PathOf("out/Name.url")), "[InternetShortcut]\r\nURL=http://n/\r\n");
    EXPECT_TRUE(FileExists(PathOf("out/Name(2).url")));
    EXPECT_TRUE(FileExists(PathOf("out/Sub/s(2).url")));
}

TEST_F(FavoritesTest, ExportListsAFolderOrFileThatCannotBeMadeOnceAndGoesOn) {
    Put("out/Blocked", "a file where the directory should be");
    // A name longer than the file system takes: no file can be made under it, not even by root.
    const std::string name(300, 'a');
    THVFolder root("r");
    root.List().Add(name);
    root.List().Add("b");
    THVFolder* blocked = root.AddChild("Blocked");
    blocked->List().Add("a");
    blocked->AddChild("Below")->List().Add("b");
    EXPECT_EQ(ExportFavoritesTree(root, PathOf("out")),
              (std::vector<std::string>{"ファイル \"" + PathOf("out/" + name + ".url") + "\" に書き込めませんでした。",
                                        "フォルダ '" + PathOf("out/Blocked") + "' を作れませんでした。"}));
    EXPECT_TRUE(FileExists(PathOf("out/b.url")));
}

TEST_F(FavoritesTest, ClearingRemovesShortcutsAndEmptiedDirectoriesOnly) {
    Put("out/a.URL", "x");
    Put("out/keep.txt", "x");
    Put("out/Only/b.url", "x");
    Put("out/Mixed/c.url", "x");
    Put("out/Mixed/notes.txt", "x");
    Put("elsewhere/d.url", "x");
    fs::create_directory_symlink(PathOf("elsewhere"), PathOf("out/link"));
    ClearFavoritesDirectory(PathOf("out"));
    EXPECT_FALSE(fs::exists(PathOf("out/a.URL")));
    EXPECT_TRUE(fs::exists(PathOf("out/keep.txt")));
    EXPECT_FALSE(fs::exists(PathOf("out/Only")));
    EXPECT_FALSE(fs::exists(PathOf("out/Mixed/c.url")));
    EXPECT_TRUE(fs::exists(PathOf("out/Mixed/notes.txt")));
    EXPECT_TRUE(fs::exists(PathOf("elsewhere/d.url"))); // a link is not followed
}

TEST_F(FavoritesTest, DecliningTheClearingQuestionWritesNothing) {
    THVFolder root("r");
    root.List().Add("a");
    test::TFakePrompts prompts;
    prompts.YesNoAnswers = {false};
    std::vector<std::string> errors;
    EXPECT_FALSE(ExportFavorites(root, PathOf("out"), true, prompts, errors));
    EXPECT_FALSE(fs::exists(PathOf("out/a.url")));
    EXPECT_EQ(prompts.Only().Text, PathOf("out") +
                                       "\n現在このフォルダ以下にある項目（インターネットショートカット）とサブフ"
                                       "ォルダを削除します。よろしいですか？");
}

TEST_F(FavoritesTest, NewExportFolderIsMadeWithItsMissingParentsOrReportedWithItsName) {
    test::TFakePrompts prompts;
    EXPECT_EQ(CreateExportSubFolder(PathOf("a/b"), "新しい", prompts), PathOf("a/b") + "/新しい");
    EXPECT_TRUE(fs::is_directory(PathOf("a/b/新しい")));
    EXPECT_EQ(CreateExportSubFolder(PathOf("a/b"), "新しい", prompts), PathOf("a/b") + "/新しい"); // already there
    EXPECT_EQ(CreateExportSubFolder(PathOf("a"), "", prompts), std::nullopt);
    EXPECT_TRUE(prompts.Records.empty());
    Put("file", "x");
    EXPECT_EQ(CreateExportSubFolder(PathOf("file"), "sub", prompts), std::nullopt);
    EXPECT_EQ(prompts.Only().Text, "フォルダ 'sub' を作れませんでした。");
}

TEST_F(FavoritesTest, NewExportFolderRefusesTheForbiddenCharactersAndBareDots) {
    for (const std::string name :
         {"a\\b", "a/b", "a:b", "a,b", "a;b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "..", "."}) {
        test::TFakePrompts prompts;
        EXPECT_EQ(CreateExportSubFolder(PathOf(""), name, prompts), std::nullopt) << name;
        ASSERT_EQ(prompts.Records.size(), 1u) << name;
        EXPECT_EQ(prompts.Records[0].Kind, test::TFakePrompts::TKind::Warning);
        EXPECT_EQ(prompts.Records[0].Text, "フォルダ名に使えない文字が含まれていました。");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(m_Dir), fs::directory_iterator()), 0);
}

} // namespace
} // namespace hv

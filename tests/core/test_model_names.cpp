#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/Names.h"

#include <gtest/gtest.h>

using namespace hv;

namespace {

const char* const kEmpty = "名前が入力されていません。";
const char* const kFolderTaken =
    "フォルダ名 'News' は既に使われています。\n\n１つのフォルダに同じ名前のサブフォルダを複数作ることはできません。"
    "半角アルファベットの大文字・小文字は同一視されます。";
const char* const kItemTaken =
    "アイテム名 'BETA' は既に使われています。\n\n１つのフォルダに同じ名前のアイテムを複数作ることはできません。"
    "半角アルファベットの大文字・小文字は同一視されます。";

} // namespace

TEST(Names, CleaningRemovesControlCharactersAndFoldersTurnBackslashIntoYen) {
    EXPECT_EQ(CleanFolderName("a\\b"), "a￥b");
    EXPECT_EQ(CleanFolderName("x\ty\x01\\"), "xy￥");
    EXPECT_EQ(CleanFolderName("\t\x02"), "");
    EXPECT_EQ(CleanFolderName("世界 \x7F"), "世界 \x7F");
    EXPECT_EQ(CleanItemName("om\tega\x01"), "omega");
    EXPECT_EQ(CleanItemName("a\\b"), "a\\b");
    EXPECT_EQ(FolderNameWithYen("\\\\x\t"), "￥￥x\t");
}

TEST(Names, FolderChecks) {
    THVFolder root("Hollyvine");
    THVFolder* news = root.AddChild("news");
    root.AddChild("Tech");
    EXPECT_EQ(CheckFolderName(root, nullptr, ""), kEmpty);
    EXPECT_EQ(CheckFolderName(root, nullptr, "News"), kFolderTaken);
    EXPECT_EQ(CheckFolderName(root, nullptr, "Ｎews"), "");
    // A folder may take its own name in another letter case.
    EXPECT_EQ(CheckFolderName(root, news, "News"), "");
    EXPECT_EQ(CheckFolderName(*news, nullptr, "Tech"), "");
}

TEST(Names, ItemChecks) {
    THVList list;
    list.Add("Beta");
    THVItem* gamma = list.Add("gamma");
    EXPECT_EQ(CheckItemName(list, gamma, ""), kEmpty);
    EXPECT_EQ(CheckItemName(list, gamma, "BETA"), kItemTaken);
    EXPECT_EQ(CheckItemName(list, nullptr, "BETA"), kItemTaken);
    EXPECT_EQ(CheckItemName(list, gamma, "GAMMA"), "");
    EXPECT_EQ(CheckItemName(list, nullptr, "delta"), "");
}

TEST(Names, MemoLineBreaksBetweenDocumentAndEditBox) {
    EXPECT_EQ(MemoForEditing("a\r\nb\r\n"), "a\nb\n");
    // A lone CR is not a line break of the document; it stays.
    EXPECT_EQ(MemoForEditing("a\rb"), "a\rb");
    EXPECT_EQ(MemoForStoring("first line\nsecond"), "first line\r\nsecond");
    // Text that already holds CR LF is not doubled.
    EXPECT_EQ(MemoForStoring("a\r\nb\nc"), "a\r\nb\r\nc");
    EXPECT_EQ(MemoForStoring(""), "");
}

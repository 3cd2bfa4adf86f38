#include "Errors.h"
#include "document/RecordReader.h"
#include "document/RecordWriter.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"

#include <gtest/gtest.h>

using namespace hv;

namespace {

std::string ItemRecord(const std::string& lines) {
    return "[Item]\r\n" + lines + "\r\n\r\n";
}

} // namespace

TEST(ItemRecord, WritesEveryLineInItsFixedOrder) {
    THVList list;
    THVItem* item = list.Add();
    item->SetName("名前");
    item->SetURL("http://example.jp/");
    item->SetMemo("\"hi\"\r\n\r\nx");
    item->SetLastVisited(EncodeDateTime(2024, 3, 5, 7, 5, 0, 0));
    item->SetIconRaw("C:\\icons\\a.ico", 2);
    item->GetCommands().Add() = {"open", "prog %s", true};
    item->GetCommands().Add() = {"plain", "other", false};
    item->SetSchedule("毎日");
    EXPECT_EQ(GetText(*item), "[Item]\r\nTitle=名前\r\nURL=http://example.jp/\r\nMemo=\"\"\"hi\"\"\",,\"x\"\r\n"
                              "LastVisited=2024/3/5 7:05\r\nIcon=C:\\icons\\a.ico,2\r\n"
                              "Cmd0=open\tprog %s\tV\r\nCmd1=plain\tother\r\nSchedule=毎日\r\n\r\n");
}

TEST(ItemRecord, LeavesOutOptionalLinesAndIndexZeroAndLetsNoLineBreakReachTheFile) {
    THVList list;
    THVItem* item = list.Add();
    EXPECT_EQ(GetText(*item), "[Item]\r\nTitle=\r\nURL=\r\n\r\n");
    item->SetIconRaw("a.ico", 0);
    EXPECT_EQ(GetText(*item), "[Item]\r\nTitle=\r\nURL=\r\nIcon=a.ico\r\n\r\n");
    item = list.Add();
    item->SetName("a\rb\nc");
    item->SetURL("u\r\nv");
    item->GetCommands().Add() = {"t\tx", "c\nd", false};
    EXPECT_EQ(GetText(*item), "[Item]\r\nTitle=a b c\r\nURL=u  v\r\nCmd0=t x\tc d\r\n\r\n");
}

TEST(Memo, EncodingTable) {
    EXPECT_EQ(EncodeMemo("a\r\nb"), "\"a\",\"b\"");
    EXPECT_EQ(EncodeMemo("a\r\n"), "\"a\",");
    EXPECT_EQ(EncodeMemo("a\rb\nc"), "\"a\",\"b\",\"c\""); // lone CR and LF end lines too
    EXPECT_EQ(EncodeMemo("\r\n"), ",");
    EXPECT_EQ(EncodeMemo("say \"x\", ok"), "\"say \"\"x\"\", ok\"");
}

TEST(Memo, DecodingTable) {
    EXPECT_EQ(DecodeMemo("\"a\",\"b\""), "a\r\nb");
    EXPECT_EQ(DecodeMemo("\"a\","), "a\r\n");
    EXPECT_EQ(DecodeMemo(","), "\r\n");
    EXPECT_EQ(DecodeMemo("\"\"\"hi\"\"\",,\"x\""), "\"hi\"\r\n\r\nx");
    EXPECT_EQ(DecodeMemo("plain,\"q\",tail"), "plain\r\nq\r\ntail");
    EXPECT_EQ(DecodeMemo("\"unterminated"), "unterminated");
    EXPECT_EQ(DecodeMemo(""), "");
    try {
        DecodeMemo("\"a\"b");
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "行の区切りにカンマ以外の文字が使われています");
    }
}

TEST(Memo, RoundTripsAnyLines) {
    for (std::string memo : {"a", "a\r\n\r\nb\r\n", "\"\"", ",,", "x,\"y\"", "\r\n\r\n"}) {
        EXPECT_EQ(DecodeMemo(EncodeMemo(memo)), memo) << memo;
    }
}

TEST(NextRecord, SplitsAtEmptyLinesAndStopsQuietlyAtOtherKinds) {
    std::string_view text = "\r\n[Item]\r\nTitle=a\r\n\r\n[Folder]\nLevel=1\r\n\r\n[item]\r\n\r\n";
    std::vector<std::string_view> lines;
    EXPECT_EQ(NextRecord(text, lines), TRecordKind::Item);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "Title=a");
    EXPECT_EQ(NextRecord(text, lines), TRecordKind::Folder);
    EXPECT_EQ(lines[1], "Level=1");
    EXPECT_EQ(NextRecord(text, lines), TRecordKind::End); // the kind is case-sensitive
    THVFolder root;
    EXPECT_EQ(ReadRecords(ItemRecord("Title=a") + "[Other]\r\n\r\n" + ItemRecord("Title=b"), root), 1);
}

TEST(ReadRecords, ReadsItemsWithTheirValues) {
    THVFolder root("Hollyvine");
    std::string text = ItemRecord("title=T\r\nURL=a=b\r\nMEMO=\"m\"\r\nLastVisited=2024/3/5 7:05\r\nIcon=x.exe\r\n"
                                  "Cmd0=c0\tline\tsV\r\nCmd1=c1\tl1\r\nCmd2=stop\t\r\nCmd3=late\tl3\r\nSchedule=s");
    EXPECT_EQ(ReadRecords(text, root), 1);
    const THVItem* item = root.List().Items(0);
    EXPECT_EQ(item->GetName(), "T");
    EXPECT_EQ(item->GetURL(), "a=b");
    EXPECT_EQ(item->GetMemo(), "m");
    EXPECT_EQ(FormatDocDateTime(item->GetLastVisited()), "2024/3/5 7:05");
    EXPECT_EQ(item->GetIconFile(), "x.exe");
    EXPECT_EQ(item->GetIconIndex(), 0);
    EXPECT_EQ(item->GetSchedule(), "s");
    ASSERT_EQ(item->GetCommands().Count(), 2); // "Cmd2" has nothing after its TAB: the list ends
    EXPECT_EQ(item->GetCommands().Items(0), (TCmdItem{"c0", "line", true}));
    EXPECT_EQ(item->GetCommands().Items(1), (TCmdItem{"c1", "l1", false}));
}

TEST(ReadRecords, CommandLinesAreFoundByTheirExactNumberInAnyOrder) {
    THVFolder root("Hollyvine");
    // Out of order, first line of a key wins, keys fold case, "Cmd01" is not "Cmd1".
    std::string text = ItemRecord("Title=T\r\nCmd1=one\tl1\r\nCmd01=zero-one\tx\r\ncmd0=zero\tl0\r\n"
                                  "CMD0=again\tl0b\r\nCmd2=\r\nCmd3=three\tl3");
    ReadRecords(text, root);
    const TCmdList& commands = root.List().Items(0)->GetCommands();
    ASSERT_EQ(commands.Count(), 2);
    EXPECT_EQ(commands.Items(0), (TCmdItem{"zero", "l0", false}));
    EXPECT_EQ(commands.Items(1), (TCmdItem{"one", "l1", false}));
}

TEST(ReadRecords, ManyCommandsAndManySiblingFoldersAllArrive) {
    std::string lines = "Title=T";
    for (int n = 0; n < 5000; ++n) {
        lines += "\r\nCmd" + std::to_string(n) + "=c" + std::to_string(n) + "\tline";
    }
    std::string text = ItemRecord(lines);
    for (int n = 0; n < 5000; ++n) {
        text += "[Folder]\r\nLevel=1\r\nName=f" + std::to_string(n) + "\r\n\r\n";
    }
    text += "[Folder]\r\nLevel=1\r\nName=F4999\r\n\r\n[Folder]\r\nLevel=1\r\nName=F0\r\n\r\n";
    THVFolder root("Hollyvine");
    EXPECT_EQ(ReadRecords(text, root), 5001);
    const TCmdList& commands = root.List().Items(0)->GetCommands();
    ASSERT_EQ(commands.Count(), 5000);
    EXPECT_EQ(commands.Items(4999), (TCmdItem{"c4999", "line", false}));
    EXPECT_EQ(root.ChildCount(), 5000); // "F4999" and "F0" merged into their same-named folders
}

TEST(ReadRecords, BadTimesGiveNeverAndIconsSplitAtTheIndex) {
    THVFolder root;
    ReadRecords(ItemRecord("Title=a\r\nLastVisited=2023/2/29 10:00\r\nIcon=a,b.ico") +
                    ItemRecord("Title=b\r\nLastVisited=yesterday\r\nIcon=x.dll,-3") +
                    ItemRecord("Title=c\r\nIcon=x.dll,"),
                root);
    EXPECT_EQ(root.List().Items(0)->GetLastVisited(), 0);
    EXPECT_EQ(root.List().Items(0)->GetIconFile(), "a,b.ico");
    EXPECT_EQ(root.List().Items(1)->GetIconIndex(), -3);
    EXPECT_EQ(root.List().Items(2)->GetIconFile(), "x.dll");
    EXPECT_EQ(root.List().Items(2)->GetIconIndex(), 0);
}

TEST(ReadRecords, WriterMendsRoundTripForCommaIconsAndEmptyCommandLines) {
    THVFolder root;
    THVItem* item = root.List().Add();
    item->SetIconRaw("/icons/a,5", 0);
    item->GetCommands().Add() = {"empty", "", false};
    item->GetCommands().Add() = {"next", "run", false};
    THVFolder back;
    ReadRecords(BuildDocumentBody(root), back);
    const THVItem* read = back.List().Items(0);
    EXPECT_EQ(read->GetIconFile(), "/icons/a,5");
    EXPECT_EQ(read->GetIconIndex(), 0);
    ASSERT_EQ(read->GetCommands().Count(), 2);
    EXPECT_EQ(read->GetCommands().Items(0), (TCmdItem{"empty", "", false}));
}

TEST(ReadRecords, FoldersFollowLevelsAndMergeByName) {
    THVFolder root("Hollyvine");
    std::string text = "[Folder]\r\nLevel=1\r\nName=A\r\n\r\n" + ItemRecord("Title=in a") +
                       "[Folder]\r\nLevel=3\r\nName=deep\r\n\r\n" // more than one deeper: still a child
                       "[Folder]\r\nLevel=1\r\nName=a\r\n\r\n" +
                       ItemRecord("Title=IN A") + "[Folder]\r\nLevel=1\r\nName=x\\y\r\n\r\n";
    EXPECT_EQ(ReadRecords(text, root), 5); // three new folders, two items
    ASSERT_EQ(root.ChildCount(), 2);
    THVFolder* a = root.Child(0);
    EXPECT_EQ(a->Name(), "A");
    EXPECT_EQ(a->Child(0)->Name(), "deep");
    ASSERT_EQ(a->List().Count(), 2);
    EXPECT_EQ(a->List().Items(1)->GetName(), "IN A~1");
    EXPECT_EQ(root.Child(1)->Name(), "x￥y");
    EXPECT_TRUE(root.Expanded());
    EXPECT_TRUE(a->Child(0)->Expanded());
}

TEST(ReadRecords, IntoASubfolderAndSortedWhenAsked) {
    THVFolder root;
    THVFolder* target = root.AddChild("target");
    target->List().Add()->SetName("A");
    std::vector<std::string> shown;
    TReadOptions options;
    options.SortFolders = true;
    options.ShownFolder = target;
    options.OnItemShown = [&shown](THVItem& item) { shown.push_back(item.GetName()); };
    std::string text = ItemRecord("Title=a") + "[Folder]\r\nLevel=1\r\nName=zeta\r\n\r\n" +
                       "[Folder]\r\nLevel=1\r\nName=Alpha\r\n\r\n" + ItemRecord("Title=inside");
    EXPECT_EQ(ReadRecords(text, *target, options), 4);
    EXPECT_EQ(shown, std::vector<std::string>{"a~1"});
    ASSERT_EQ(target->ChildCount(), 2);
    EXPECT_EQ(target->Child(0)->Name(), "Alpha");
    EXPECT_EQ(target->Child(0)->List().Items(0)->GetName(), "inside");
}

TEST(ReadRecords, ErrorsEndTheReadAndKeepWhatWasRead) {
    struct TCase {
        std::string bad;
        std::string message;
    };
    for (const TCase& c :
         {TCase{"[Folder]\r\nLevel=one\r\nName=x\r\n\r\n", "'one' は有効な整数値ではありません"},
          TCase{"[Folder]\r\nName=x\r\n\r\n", "'' は有効な整数値ではありません"},
          TCase{"[Folder]\r\nLevel=0\r\nName=x\r\n\r\n", "フォルダの階層 (Level=0) が正しくありません"},
          TCase{ItemRecord("Title=bad\r\nMemo=\"a\"x"), "行の区切りにカンマ以外の文字が使われています"}}) {
        THVFolder root;
        std::string text = ItemRecord("Title=kept") + c.bad + ItemRecord("Title=never");
        try {
            ReadRecords(text, root);
            ADD_FAILURE() << "no error for " << c.bad;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
        ASSERT_EQ(root.List().Count(), 1) << c.bad;
        EXPECT_EQ(root.List().Items(0)->GetName(), "kept");
    }
}

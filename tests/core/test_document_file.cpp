#include "TempDir.h"
#include "document/DocumentFile.h"
#include "document/RecordReader.h"
#include "model/HVFolder.h"
#include "platform/SafeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <vector>

using namespace hv;

namespace {

const std::string kHeader1 = "# Holly Vine Document 1\r\n\r\n";

// Reads bytes the way opening a document does; the password gate is the caller's.
std::unique_ptr<THVFolder> Read(const std::string& bytes, TDocumentText* info = nullptr) {
    TDocumentText doc = ParseDocumentBytes(bytes);
    auto root = std::make_unique<THVFolder>("Hollyvine");
    ReadRecords(doc.Body, *root);
    if (info != nullptr) {
        *info = doc;
    }
    return root;
}

std::string Rewrite(const std::string& bytes) {
    TDocumentText doc;
    auto root = Read(bytes, &doc);
    return BuildDocumentBytes(*root, doc.Password, doc.Encoding == TDocEncoding::Utf8);
}

} // namespace

TEST(DocumentFile, WritesFoldersInTreeOrderWithLevelsAndAnEmptyTreeAsJustTheHeader) {
    THVFolder root;
    EXPECT_EQ(BuildDocumentBytes(root, ""), kHeader1);
    EXPECT_EQ(Read(kHeader1)->List().Count() + Read(kHeader1)->ChildCount(), 0);
    root.List().Add()->SetName("top");
    THVFolder* a = root.AddChild("a");
    a->AddChild("a1")->List().Add()->SetName("deep");
    root.AddChild("b");
    EXPECT_EQ(BuildDocumentBytes(root, ""), kHeader1 + "[Item]\r\nTitle=top\r\nURL=\r\n\r\n"
                                                       "[Folder]\r\nLevel=1\r\nName=a\r\n\r\n"
                                                       "[Folder]\r\nLevel=2\r\nName=a1\r\n\r\n"
                                                       "[Item]\r\nTitle=deep\r\nURL=\r\n\r\n"
                                                       "[Folder]\r\nLevel=1\r\nName=b\r\n\r\n");
}

TEST(DocumentFile, VersionTwoScramblesEverythingAfterTheFirstLineAndMayHaveAnEmptyPassword) {
    THVFolder root;
    root.List().Add()->SetName("A");
    std::string bytes = BuildDocumentBytes(root, "pw");
    std::string plain = "Password=pw\r\n\r\n[Item]\r\nTitle=A\r\nURL=\r\n\r\n";
    std::string expected = "# Hollyvine Document 2\r\n";
    for (char c : plain) {
        auto b = static_cast<unsigned char>(c);
        expected += b >= 32 ? static_cast<char>(287 - b) : c;
    }
    EXPECT_EQ(bytes, expected);
    TDocumentText doc;
    auto back = Read(bytes, &doc);
    EXPECT_EQ(doc.Version, 2);
    EXPECT_EQ(doc.Password, "pw");
    EXPECT_EQ(back->List().Items(0)->GetName(), "A");
    // An empty password line opens without a password.
    std::string header = "Password=\r\n\r\n";
    Scramble(header);
    doc = ParseDocumentBytes("# Hollyvine Document 2\r\n" + header);
    EXPECT_EQ(doc.Version, 2);
    EXPECT_EQ(doc.Password, "");
}

TEST(DocumentFile, RejectsFilesThatAreNoDocuments) {
    for (std::string bytes :
         {std::string(), std::string("# Holly Vine Document 3\r\n\r\n"), std::string("# Holly Vine Document 1"),
          std::string(300, 'x') + "\r\n\r\n", "\xEF\xBB\xBF" + kHeader1}) {
        try {
            ParseDocumentBytes(bytes);
            ADD_FAILURE() << "accepted: " << bytes;
        } catch (const EInvalidDocument& e) {
            EXPECT_STREQ(e.what(), "Hollyvine のドキュメントではありません");
        }
    }
}

TEST(DocumentFile, ReadsWhatTheWindowsProgramWrote) {
    // 日本語, half-width ｱ and the full-width yen, in Shift_JIS, and a memo in two lines.
    std::string bytes = kHeader1 + "[Folder]\r\nLevel=1\r\nName=\x93\xFA\x96\x7B\r\n\r\n"
                                   "[Item]\r\nTitle=\x93\xFA\x96\x7B\x8C\xEA\xB1\x81\x8F\r\nURL=http://a/\r\n"
                                   "Memo=\"\x83\x81\x83\x82\",\"2\"\r\nLastVisited=2001/12/31 23:59\r\n\r\n";
    TDocumentText doc;
    auto root = Read(bytes, &doc);
    EXPECT_EQ(doc.Encoding, TDocEncoding::Cp932);
    ASSERT_EQ(root->ChildCount(), 1);
    EXPECT_EQ(root->Child(0)->Name(), "日本");
    const THVItem* item = root->Child(0)->List().Items(0);
    EXPECT_EQ(item->GetName(), "日本語ｱ￥");
    EXPECT_EQ(item->GetMemo(), "メモ\r\n2");
    EXPECT_EQ(Rewrite(bytes), bytes);
}

TEST(DocumentFile, FallsBackToUtf8OnlyWhenShiftJisCannotHoldTheText) {
    THVFolder root;
    root.List().Add()->SetName("日本語");
    TDocEncoding used;
    BuildDocumentBytes(root, "", false, &used);
    EXPECT_EQ(used, TDocEncoding::Cp932);

    root.AddChild("Ünïcödé ¥ 😀");
    std::string bytes = BuildDocumentBytes(root, "", false, &used);
    EXPECT_EQ(used, TDocEncoding::Utf8);
    EXPECT_EQ(bytes.substr(0, 41), "# Holly Vine Document 1\r\nEncoding=UTF-8\r\n");
    auto back = Read(bytes);
    EXPECT_EQ(back->Child(0)->Name(), "Ünïcödé ¥ 😀");
    EXPECT_EQ(back->List().Items(0)->GetName(), "日本語");
    EXPECT_EQ(Rewrite(bytes), bytes);
}

TEST(DocumentFile, Utf8PasswordDocumentsKeepTheEncodingInTheScrambledHeader) {
    THVFolder root;
    root.List().Add()->SetName("😀");
    std::string bytes = BuildDocumentBytes(root, "ｐａｓｓ");
    std::string header = bytes.substr(24, 41);
    Scramble(header);
    EXPECT_EQ(header.substr(0, 9), "Password=");
    EXPECT_NE(header.find("\r\nEncoding=UTF-8\r\n\r\n"), std::string::npos);
    TDocumentText doc;
    auto back = Read(bytes, &doc);
    EXPECT_EQ(doc.Password, "ｐａｓｓ");
    EXPECT_EQ(back->List().Items(0)->GetName(), "😀");
}

TEST(DocumentFile, BytesInvalidInTheEncodingSurviveAReadAndAWrite) {
    std::string cp932 = kHeader1 + "[Item]\r\nTitle=\xFF\x80\xA0 \x81\r\nURL=\x82\r\n\r\n";
    EXPECT_EQ(Rewrite(cp932), cp932);
    std::string utf8 =
        "# Holly Vine Document 1\r\nEncoding=UTF-8\r\n\r\n[Item]\r\nTitle=\xC3 \xE3\x81\r\nURL=\xF8\r\n\r\n";
    EXPECT_EQ(Rewrite(utf8), utf8);
    // Random bytes in a memo-free title: the same text comes back, twin codes of code page 932
    // with the code Windows writes for their character, and that is then kept byte for byte.
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        std::string junk;
        for (int i = 0; i < 40; ++i) {
            auto b = static_cast<char>(128 + rng() % 128);
            junk += b;
        }
        std::string doc = kHeader1 + "[Item]\r\nTitle=" + junk + "\r\nURL=\r\n\r\n";
        const std::string once = Rewrite(doc);
        EXPECT_EQ(Rewrite(once), once);
        EXPECT_EQ(Read(once)->List().Items(0)->GetName(), Read(doc)->List().Items(0)->GetName());
    }
}

// A kept byte must not fuse with its neighbours when the document is written in another
// encoding than it was read in: save, reopen and save again keep characters and bytes.
TEST(DocumentFile, KeptBytesNeverFuseWithTheirNeighboursInAnotherEncoding) {
    const std::string keptTitle = "\xEF\x9E\x82あいう"; // a kept 0x82, then "あいう"
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::string Password;
        std::string Title;
    };
    const std::vector<TCase> cases = {
        {"UTF-8 document given a password",
         "# Holly Vine Document 1\r\nEncoding=UTF-8\r\n\r\n[Item]\r\nTitle=\x82あいう\r\nURL=\r\n\r\n", "pw",
         keptTitle},
        {"kept bytes that spell a UTF-8 character",
         kHeader1 + "[Item]\r\nTitle=\xEF\x9F\x83\xEF\x9E\xA9\xF0\x9F\x98\x80\r\nURL=\r\n\r\n", "",
         "\xEF\x9F\x83\xEF\x9E\xA9😀"},
        {"kept bytes in the password", kHeader1, "\xEF\x9E\x82あ", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        THVFolder root;
        if (c.Bytes != kHeader1) {
            root.List().Add()->SetName(c.Title);
        }
        const std::string first = BuildDocumentBytes(root, c.Password);
        TDocumentText info;
        auto back = Read(first, &info);
        EXPECT_EQ(info.Password, c.Password);
        if (!c.Title.empty()) {
            ASSERT_EQ(back->List().Count(), 1);
            EXPECT_EQ(back->List().Items(0)->GetName(), c.Title);
        }
        EXPECT_EQ(BuildDocumentBytes(*back, info.Password), first);
        EXPECT_EQ(Rewrite(first), first);
    }
    // Read from a UTF-8 file, the kept byte and "あ" stay apart.
    TDocumentText info;
    auto read = Read(cases[0].Bytes, &info);
    EXPECT_EQ(read->List().Items(0)->GetName(), keptTitle);
}

TEST(DocumentFile, MarkedKeptBytesAreReadAsKeptBytes) {
    // Written by a save whose kept bytes would fuse as raw bytes: C3 A9 would read as "é".
    const std::string marked = "# Holly Vine Document 1\r\nEncoding=UTF-8\r\nKeptBytes=U+F700\r\n\r\n"
                               "[Item]\r\nTitle=\xEF\x9F\x83\xEF\x9E\xA9 \xC3\xA9 \xFF\r\nURL=\r\n\r\n";
    auto back = Read(marked);
    EXPECT_EQ(back->List().Items(0)->GetName(), "\xEF\x9F\x83\xEF\x9E\xA9 é \xEF\x9F\xBF");
    EXPECT_EQ(BuildDocumentBytes(*back, "", true),
              "# Holly Vine Document 1\r\nEncoding=UTF-8\r\nKeptBytes=U+F700\r\n\r\n"
              "[Item]\r\nTitle=\xEF\x9F\x83\xEF\x9E\xA9 \xC3\xA9 \xEF\x9F\xBF\r\nURL=\r\n\r\n");
}

TEST(DocumentFile, ATextDecidingTheEncodingLateInALargeBodyDecidesItForTheWhole) {
    // The body is encoded in pieces; what the last piece holds must still choose the header and
    // the encoding of every piece before it.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"😀", "Encoding=UTF-8\r\n\r\n"},
        {"\xEF\x9F\x83\xEF\x9E\xA9", "Encoding=UTF-8\r\nKeptBytes=U+F700\r\n\r\n"},
    };
    const test::TTempDir dir("hv_doc_late");
    for (const auto& [late, header] : cases) {
        SCOPED_TRACE(header);
        THVFolder root;
        for (int i = 0; i < 5000; ++i) {
            root.List().Add()->SetName("東京 " + std::to_string(i));
        }
        root.AddChild("最後")->List().Add()->SetName(late);
        TDocEncoding used = TDocEncoding::Cp932;
        std::string bytes = BuildDocumentBytes(root, "pw", false, &used);
        EXPECT_GT(bytes.size(), 150000U);
        EXPECT_EQ(used, TDocEncoding::Utf8);
        TDocumentText info;
        auto back = Read(bytes, &info);
        EXPECT_EQ(info.Encoding, TDocEncoding::Utf8);
        EXPECT_EQ(info.Password, "pw");
        ASSERT_EQ(back->List().Count(), 5000);
        EXPECT_EQ(back->List().Items(4999)->GetName(), "東京 4999");
        EXPECT_EQ(back->Child(0)->List().Items(0)->GetName(), late);
        // Saved, the file is written in CP932 first and again when the late piece refuses it;
        // what stays is the one right file, and the second case replaces the first's.
        const std::string path = dir.PathOf("doc.hv");
        SaveDocumentFile(path, root, "pw");
        EXPECT_EQ(ReadFileBytes(path), bytes);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
        Scramble(bytes, 24); // the header in plain text again
        EXPECT_NE(bytes.find(header), std::string::npos);
    }
}

TEST(DocumentFile, ADocumentNestedAHundredThousandDeepRoundTrips) {
    THVFolder root("Hollyvine");
    THVFolder* f = &root;
    for (int i = 0; i < 100000; ++i) {
        f = f->AddChild("f");
    }
    f->List().Add()->SetName("bottom");
    std::string bytes = BuildDocumentBytes(root, "");
    auto back = Read(bytes);
    const THVFolder* g = back.get();
    int depth = 0;
    while (g->ChildCount() > 0) {
        g = g->Child(0);
        ++depth;
    }
    EXPECT_EQ(depth, 100000);
    EXPECT_EQ(g->List().Items(0)->GetName(), "bottom");
    EXPECT_EQ(BuildDocumentBytes(*back, ""), bytes);
}

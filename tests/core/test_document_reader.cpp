// Reading a document file piece by piece must give exactly what reading it whole gives, wherever
// the pieces end.

#include "TempDir.h"
#include "document/DocumentFile.h"
#include "document/DocumentReader.h"
#include "document/RecordReader.h"
#include "model/HVFolder.h"
#include "platform/SafeFile.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace hv;

namespace {

class DocumentReaderTest : public ::testing::Test {
protected:
    std::string WriteFile(const std::string& bytes) {
        const std::string path = m_Dir.PathOf("doc.hv");
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // The file read record by record, written back.
    std::string Reread(const std::string& bytes, TDocumentText* header = nullptr) {
        TDocumentReader reader(WriteFile(bytes));
        THVFolder root("Hollyvine");
        ReadRecords(reader, root);
        if (header != nullptr) {
            *header = reader.Header();
        }
        return BuildDocumentBytes(root, reader.Password(), reader.Encoding() == TDocEncoding::Utf8);
    }

    test::TTempDir m_Dir{"hvreader"};
};

// Several megabytes of items of many lengths, so that block ends fall on every offset of a piece.
std::unique_ptr<THVFolder> LargeTree(const std::string& flavour) {
    auto root = std::make_unique<THVFolder>("Hollyvine");
    THVFolder* folder = root.get();
    for (int i = 0; i < 40000; ++i) {
        if (i % 997 == 0) {
            folder = root->AddChild("フォルダ " + std::to_string(i));
        }
        THVItem* item = folder->List().Add();
        item->SetName(flavour + std::string(static_cast<std::size_t>(i % 23), 'x') + std::to_string(i));
        item->SetURL("https://example.com/" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 7), '/'));
        if (i % 11 == 0) {
            item->SetMemo("一行目\r\n二行目 \"引用\", " + std::to_string(i));
        }
    }
    return root;
}

} // namespace

TEST_F(DocumentReaderTest, LargeDocumentsComeBackByteForByteInEveryForm) {
    struct TCase {
        const char* Flavour;
        const char* Password;
        bool Utf8;
    };
    for (const TCase& c : {TCase{"名前", "", false}, TCase{"名前", "秘密", false}, TCase{"Ω名前", "", true},
                           TCase{"Ω名前", "pw", true}}) {
        const auto tree = LargeTree(c.Flavour);
        const std::string bytes = BuildDocumentBytes(*tree, c.Password, c.Utf8);
        ASSERT_GT(bytes.size(), 2u << 20); // many pieces
        TDocumentText header;
        EXPECT_EQ(Reread(bytes, &header), bytes) << c.Flavour << " " << c.Password;
        EXPECT_EQ(header.Password, c.Password);
        EXPECT_EQ(header.Version, *c.Password != 0 ? 2 : 1);
        EXPECT_EQ(header.Encoding == TDocEncoding::Utf8, c.Utf8);
    }
}

TEST_F(DocumentReaderTest, ARecordLargerThanAPieceIsReadWhole) {
    THVFolder root("Hollyvine");
    THVItem* item = root.List().Add();
    item->SetName("many commands");
    for (int i = 0; i < 60000; ++i) {
        TCmdItem& cmd = item->GetCommands().Add();
        cmd.Title = "c" + std::to_string(i);
        cmd.CommandLine = "/bin/true " + std::to_string(i);
    }
    root.List().Add()->SetName("after");
    const std::string bytes = BuildDocumentBytes(root, "");
    ASSERT_GT(bytes.size(), 1u << 20);
    EXPECT_EQ(Reread(bytes), bytes);
}

TEST_F(DocumentReaderTest, HeadersWithoutBodiesAndBrokenFiles) {
    // No empty line after the header: the whole rest is header, the body is empty.
    EXPECT_EQ(Reread("# Holly Vine Document 1\r\nEncoding=UTF-8\r\n"),
              "# Holly Vine Document 1\r\nEncoding=UTF-8\r\n\r\n");
    EXPECT_EQ(Reread("# Holly Vine Document 1\r\n\r\n"), "# Holly Vine Document 1\r\n\r\n");
    // Stops quietly at a record of no known kind, as reading the whole text does.
    EXPECT_EQ(
        Reread("# Holly Vine Document 1\r\n\r\n[Item]\r\nTitle=a\r\n\r\n[Other]\r\n\r\n[Item]\r\nTitle=b\r\n\r\n"),
        "# Holly Vine Document 1\r\n\r\n[Item]\r\nTitle=a\r\nURL=\r\n\r\n");
    EXPECT_THROW(TDocumentReader(WriteFile("<html>\r\n\r\n")), EInvalidDocument);
    EXPECT_THROW(TDocumentReader(WriteFile("")), EInvalidDocument);
    EXPECT_THROW(TDocumentReader(m_Dir.PathOf("missing.hv")), EFileError);
    // A directory where the document should be cannot be read.
    EXPECT_THROW(TDocumentReader(m_Dir.Path().string()), EFileError);
}

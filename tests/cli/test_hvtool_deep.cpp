#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

#include <algorithm>
#include <cstdint>

// Documents nest folders as deep as their users like; every command must walk them without
// recursion (sanitizer builds have small stacks, which is where a recursive walk would fail).
// Pretty-printed output of such a tree is quadratic in its depth, so it goes to a sink that
// only counts and keeps the end.

namespace hv::cli::test {
namespace {

constexpr int kDepth = 20000;

class TCountingSink : public std::streambuf {
public:
    std::uint64_t Size = 0;
    std::uint64_t Lines = 0;
    bool CountLines = false;
    std::string Tail;

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        const auto count = static_cast<std::size_t>(n);
        Size += count;
        if (CountLines) {
            Lines += static_cast<std::uint64_t>(std::count(s, s + n, '\n'));
        }
        constexpr std::size_t kKeep = 256;
        if (count >= kKeep) {
            Tail.assign(s + count - kKeep, kKeep);
        } else {
            Tail.append(s, count);
            if (Tail.size() > 2 * kKeep) {
                Tail.erase(0, Tail.size() - kKeep);
            }
        }
        return n;
    }
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char ch = traits_type::to_char_type(c);
            xsputn(&ch, 1);
        }
        return traits_type::not_eof(c);
    }
};

class TDeepDocumentTest : public THvtoolTest {
protected:
    void SetUp() override {
        THvtoolTest::SetUp();
        THVFolder root("Hollyvine");
        THVItem* top = root.List().Add();
        top->SetName("top");
        top->SetURL("u");
        THVFolder* folder = &root;
        for (int level = 1; level <= kDepth; ++level) {
            folder = folder->AddChild("f");
        }
        THVItem* bottom = folder->List().Add();
        bottom->SetName("bottom");
        bottom->SetURL("u");
        SaveDocumentFile(PathOf("deep.hv"), root, "");
    }
};

TEST_F(TDeepDocumentTest, CompactDumpWritesBackToTheSameBytes) {
    TRunResult dump = RunTool({"dump", "--compact", PathOf("deep.hv")});
    ASSERT_EQ(dump.Code, 0) << dump.Err;
    TRunResult write = RunTool({"write", "-", PathOf("copy.hv")}, dump.Out);
    ASSERT_EQ(write.Code, 0) << write.Err;
    EXPECT_EQ(ReadBytes(PathOf("copy.hv")), ReadBytes(PathOf("deep.hv")));
}

TEST_F(TDeepDocumentTest, PrettyDumpRunsToTheEnd) {
    TCountingSink sink;
    ASSERT_EQ(RunToolInto(sink, {"dump", PathOf("deep.hv")}), 0);
    // Each folder's members are indented by four more blanks than its parent's.
    EXPECT_GT(sink.Size, 4ULL * kDepth * kDepth);
    EXPECT_TRUE(sink.Tail.ends_with("\n    ]\n  }\n}\n")) << sink.Tail;
}

TEST_F(TDeepDocumentTest, LsPrintsEveryLevel) {
    TCountingSink sink;
    sink.CountLines = true;
    ASSERT_EQ(RunToolInto(sink, {"ls", PathOf("deep.hv")}), 0);
    // "Hollyvine", "  top  <u>", one line per folder "f" at two blanks per level, and the bottom item.
    std::uint64_t expected = std::string("Hollyvine\n  top  <u>\n").size();
    for (std::uint64_t level = 1; level <= kDepth; ++level) {
        expected += 2 * level + 2;
    }
    expected += 2 * (kDepth + 1) + std::string("bottom  <u>\n").size();
    EXPECT_EQ(sink.Lines, kDepth + 3U);
    EXPECT_EQ(sink.Size, expected);
    EXPECT_TRUE(sink.Tail.ends_with(std::string(200, ' ') + "bottom  <u>\n"));
}

TEST_F(TDeepDocumentTest, FindAndDupsReachTheBottom) {
    std::string path = "Hollyvine";
    for (int level = 1; level <= kDepth; ++level) {
        path += "\\f";
    }
    EXPECT_EQ(RunTool({"find", PathOf("deep.hv"), "bottom", "--folder", path}),
              (TRunResult{0, path + "\tbottom\tu\n", ""}));
    EXPECT_EQ(RunTool({"dups", PathOf("deep.hv")}),
              (TRunResult{0, "top\tHollyvine\t\tu\nbottom\t" + path + "\t\tu\n", ""}));
}

} // namespace
} // namespace hv::cli::test

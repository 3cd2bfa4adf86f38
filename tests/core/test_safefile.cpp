#include "Errors.h"
#include "TempDir.h"
#include "platform/SafeFile.h"
#include "platform/SystemError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

using namespace hv;
namespace fs = std::filesystem;

namespace {

class SafeFileTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (m_Dir / name).string(); }
    void Put(const std::string& name, const std::string& content, mode_t mode) const {
        std::ofstream(PathOf(name), std::ios::binary) << content;
        ASSERT_EQ(chmod(PathOf(name).c_str(), mode), 0);
    }
    mode_t ModeOf(const std::string& name) const {
        return static_cast<mode_t>(fs::status(PathOf(name)).permissions() & fs::perms::mask);
    }
    std::vector<std::string> Entries(const std::string& sub = ".") const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_Dir / sub)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TTempDir m_Temp{"hv_safefile"};
    fs::path m_Dir = m_Temp.Path();
};

using TNames = std::vector<std::string>;

} // namespace

TEST_F(SafeFileTest, PermissionBitsOfOldAndNewFiles) {
    for (mode_t mode : {0600, 0640, 0444}) {
        Put("doc.hv", "old", mode);
        WriteFileSafely(PathOf("doc.hv"), "new content");
        EXPECT_EQ(ReadFileBytes(PathOf("doc.hv")), "new content");
        EXPECT_EQ(ModeOf("doc.hv"), mode);
        EXPECT_EQ(Entries(), TNames{"doc.hv"});
    }
    const mode_t old = umask(027);
    WriteFileSafely(PathOf("fresh"), std::string("a\0b", 3));
    umask(old);
    EXPECT_EQ(ReadFileBytes(PathOf("fresh")), std::string("a\0b", 3));
    EXPECT_EQ(ModeOf("fresh"), 0640u);
}

TEST_F(SafeFileTest, SymbolicLinkChainIsFollowed) {
    fs::create_directories(m_Dir / "real");
    fs::create_directories(m_Dir / "links");
    Put("real/data.hv", "old", 0640);
    fs::create_symlink("../real/data.hv", m_Dir / "links/link1"); // relative to its own directory
    fs::create_symlink(m_Dir / "links/link1", m_Dir / "link2");
    WriteFileSafely(PathOf("link2"), "through links");
    EXPECT_TRUE(fs::is_symlink(m_Dir / "link2"));
    EXPECT_TRUE(fs::is_symlink(m_Dir / "links/link1"));
    EXPECT_EQ(ReadFileBytes(PathOf("real/data.hv")), "through links");
    EXPECT_EQ(ModeOf("real/data.hv"), 0640u);
    EXPECT_EQ(Entries("real"), TNames{"data.hv"});

    fs::create_symlink("b", m_Dir / "a");
    fs::create_symlink("a", m_Dir / "b");
    EXPECT_THROW(WriteFileSafely(PathOf("a"), "x"), EFileError);
}

TEST_F(SafeFileTest, FailuresLeaveTheOldFileAndNoTemporary) {
    try {
        WriteFileSafely(PathOf("nowhere/x.hv"), "data");
        ADD_FAILURE() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find(PathOf("nowhere/x.hv")), std::string::npos) << e.what();
    }
    EXPECT_TRUE(Entries().empty());

    Put("doc.hv", "precious", 0600);
    TSafeWriteOptions options;
    for (std::size_t after : {0, 3, 9999}) {
        options.FailAfterBytes = after;
        EXPECT_THROW(WriteFileSafely(PathOf("doc.hv"), std::string(20000, 'x'), options), EFileError);
        EXPECT_EQ(ReadFileBytes(PathOf("doc.hv")), "precious");
        EXPECT_EQ(Entries(), TNames{"doc.hv"});
    }
}

TEST_F(SafeFileTest, ErrorsSayWhyInJapaneseAndKeepTheReasonApart) {
    try {
        ReadFileBytes(m_Dir.string());
        ADD_FAILURE() << "no error";
    } catch (const ESystemFileError& e) {
        EXPECT_EQ(std::string(e.what()), "\"" + m_Dir.string() + "\" を読めませんでした。ディレクトリです。");
        EXPECT_EQ(e.Reason(), "ディレクトリです。");
    }
    TSafeWriteOptions options;
    options.ErrorMessage = "ファイル \"x.hv\" を保存できませんでした。";
    try {
        WriteFileSafely(PathOf("nowhere/x.hv"), "data", options);
        ADD_FAILURE() << "no error";
    } catch (const ESystemFileError& e) {
        EXPECT_STREQ(e.what(), options.ErrorMessage.c_str());
        EXPECT_EQ(e.Reason(), "ファイルまたはディレクトリがありません。");
    }
    EXPECT_EQ(SystemErrorText(ENOSPC), "ディスクの空き領域が足りません。");
    EXPECT_EQ(SystemErrorText(9999), "システムエラー (9999) が起きました。");
}

TEST_F(SafeFileTest, TakenTemporaryNamesAreSkipped) {
    Put("taken.tmp", "someone else's", 0644);
    int calls = 0;
    TSafeWriteOptions options;
    options.TempName = [&](const std::string& dir, const std::string& fileName) {
        EXPECT_EQ(fileName, "doc.hv");
        return dir + (++calls < 3 ? "/taken.tmp" : "/free.tmp");
    };
    WriteFileSafely(PathOf("doc.hv"), "new", options);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(Entries(), (TNames{"doc.hv", "taken.tmp"}));
    EXPECT_EQ(ReadFileBytes(PathOf("taken.tmp")), "someone else's");

    options.TempName = [](const std::string& dir, const std::string&) { return dir + "/taken.tmp"; };
    EXPECT_THROW(WriteFileSafely(PathOf("doc.hv"), "newer", options), EFileError);
    EXPECT_EQ(ReadFileBytes(PathOf("doc.hv")), "new");
}

TEST_F(SafeFileTest, TemporaryNameForms) {
    for (int i = 0; i < 50; ++i) {
        const std::string name = DocumentTempName("/dir", "my.notes.hv");
        ASSERT_TRUE(std::regex_match(name, std::regex(R"(/dir/my\.notes\.\d{4}\.\d{4}\.hv)"))) << name;
    }
    EXPECT_TRUE(std::regex_match(DefaultTempName("/etc/", "a.reg"), std::regex(R"(/etc/\.a\.reg\.\d{4}\.tmp)")));
    TSafeWriteOptions options;
    options.TempName = DocumentTempName;
    WriteFileSafely(PathOf("doc.hv"), "via document name", options);
    EXPECT_EQ(Entries(), TNames{"doc.hv"});
}

TEST_F(SafeFileTest, ReadAndExists) {
    EXPECT_FALSE(FileExists(PathOf("missing")));
    EXPECT_FALSE(FileExists(m_Dir.string()));
    try {
        ReadFileBytes(PathOf("missing"));
        ADD_FAILURE() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find(PathOf("missing")), std::string::npos);
    }
    const std::string big(300000, 'q');
    WriteFileSafely(PathOf("big"), big);
    EXPECT_TRUE(FileExists(PathOf("big")));
    EXPECT_EQ(ReadFileBytes(PathOf("big")), big);
}

namespace {

// Starts a save of doc.hv in a child process that is killed by a signal halfway through.
void KillASave(const std::string& path, bool nameless) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TSafeWriteOptions options;
        options.TempName = DocumentTempName;
        options.NamelessTemp = nameless;
        WriteFileSafely(
            path,
            [](TByteSink& sink) {
                sink.Write(std::string(1 << 20, 'x'));
                raise(SIGKILL);
            },
            options);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
}

bool HasUserAttributes(const std::string& path) {
    return setxattr(path.c_str(), "user.hollyvine.probe", "1", 1, 0) == 0;
}

} // namespace

TEST_F(SafeFileTest, AKilledSaveLeavesNoTemporaryFile) {
    Put("doc.hv", "old", 0644);
    KillASave(PathOf("doc.hv"), true);
    EXPECT_EQ(Entries(), TNames{"doc.hv"});
    EXPECT_EQ(ReadFileBytes(PathOf("doc.hv")), "old");
}

TEST_F(SafeFileTest, LeftoversOfKilledWritersAreRemovedAndNothingElse) {
    Put("doc.hv", "old", 0644);
    if (!HasUserAttributes(PathOf("doc.hv"))) {
        GTEST_SKIP() << "the file system keeps no user attributes";
    }
    KillASave(PathOf("doc.hv"), false); // as where nameless files are not available
    ASSERT_EQ(Entries().size(), 2u);
    Put("doc.2024.0101.hv", "the user's own copy", 0644);
    Put("other.1234.5678.hv", "another document's", 0644);
    // A temporary file whose writer still runs: marked and locked.
    Put("doc.1111.2222.hv", "being written", 0644);
    ASSERT_EQ(setxattr(PathOf("doc.1111.2222.hv").c_str(), "user.hollyvine.temporary", "1", 1, 0), 0);
    const int held = open(PathOf("doc.1111.2222.hv").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    RemoveLeftoverDocumentTempFiles(PathOf("doc.hv"));
    EXPECT_EQ(Entries(), (TNames{"doc.1111.2222.hv", "doc.2024.0101.hv", "doc.hv", "other.1234.5678.hv"}));
    close(held);
    RemoveLeftoverDocumentTempFiles(PathOf("doc.hv"));
    EXPECT_EQ(Entries(), (TNames{"doc.2024.0101.hv", "doc.hv", "other.1234.5678.hv"}));

    // A finished save leaves no mark on the document.
    WriteFileSafely(PathOf("doc.hv"), "new");
    char mark[8];
    EXPECT_LT(getxattr(PathOf("doc.hv").c_str(), "user.hollyvine.temporary", mark, sizeof mark), 0);
}

TEST_F(SafeFileTest, StreamedBytesArriveWholeAndAFailingProducerKeepsTheOldFile) {
    Put("doc.hv", "old", 0644);
    WriteFileSafely(PathOf("doc.hv"), [](TByteSink& sink) {
        for (int i = 0; i < 100000; ++i) {
            sink.Write("0123456789");
        }
    });
    EXPECT_EQ(ReadFileBytes(PathOf("doc.hv")).size(), 1000000u);
    EXPECT_THROW(WriteFileSafely(PathOf("doc.hv"),
                                 [](TByteSink& sink) {
                                     sink.Write("partial");
                                     throw EFileError("stop");
                                 }),
                 EFileError);
    EXPECT_EQ(ReadFileBytes(PathOf("doc.hv")).size(), 1000000u);
    EXPECT_EQ(Entries(), TNames{"doc.hv"});
}

#include "TempDir.h"
#include "platform/LinuxShellLauncher.h"
#include "platform/NmcliConnections.h"
#include "platform/Process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace hv;
namespace fs = std::filesystem;
using TStrings = std::vector<std::string>;

namespace {

// Each test works in a directory of its own, which is also the only place programs are looked
// for, so no real xdg-open or nmcli is ever started.
class PlatformTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (m_Dir / name).string(); }

    void WriteFile(const std::string& name, const std::string& content, int mode = 0644) const {
        std::ofstream(PathOf(name), std::ios::binary) << content;
        fs::permissions(PathOf(name), fs::perms(mode));
    }

    // A program that writes its arguments, one per line, to NAME.args (atomically); before
    // runs first, then it ends with exitCode.
    void WriteRecorder(const std::string& name, int exitCode = 0, const std::string& before = {}) const {
        WriteFile(name,
                  "#!/bin/sh\n" + before + "printf '%s\\n' \"$@\" > \"$0.t\" && mv \"$0.t\" \"$0.args\"\nexit " +
                      std::to_string(exitCode) + "\n",
                  0755);
    }

    // What a recorder received; waits for one that runs detached.
    TStrings ArgsOf(const std::string& name) const {
        const std::string path = PathOf(name + ".args");
        for (int i = 0; i < 2000 && !fs::exists(path); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        TStrings lines;
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        fs::remove(path);
        return lines;
    }

    int Execute(const std::string& file, const std::string& parameters = {}, int timeoutMs = 3000) const {
        return TLinuxShellLauncher({m_Dir.string(), timeoutMs}).Execute(file, parameters);
    }

    test::TTempDir m_Temp{"hvlaunch"};
    fs::path m_Dir = fs::canonical(m_Temp.Path());
};

bool NoChildLeft() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TEST_F(PlatformTest, XdgOpenExitStatusMapsToShellCodes) {
    const std::pair<int, int> cases[] = {{0, kShellOk}, {1, 8}, {2, 2}, {3, 31}, {4, 31}, {5, 8}, {127, 8}};
    for (const auto& [status, code] : cases) {
        WriteRecorder("xdg-open", status);
        EXPECT_EQ(Execute("https://example.com/"), code) << status;
        EXPECT_EQ(ArgsOf("xdg-open"), TStrings{"https://example.com/"});
    }
    EXPECT_TRUE(NoChildLeft());
}

TEST_F(PlatformTest, MissingOrUnusableXdgOpenMeansNoAssociation) {
    EXPECT_EQ(Execute("mailto:a@example.com"), kShellNoAssociation);
    WriteFile("xdg-open", "#!/bin/sh\nexit 0\n"); // not executable
    EXPECT_EQ(Execute("mailto:a@example.com"), kShellNoAssociation);
}

TEST_F(PlatformTest, XdgOpenThatTakesLongCountsAsDoneAndIsLeftRunning) {
    WriteRecorder("xdg-open", 4, "sleep 1\n");
    EXPECT_EQ(Execute("file:///tmp/", "", 50), kShellOk);
    EXPECT_TRUE(NoChildLeft());
    EXPECT_EQ(ArgsOf("xdg-open"), TStrings{"file:///tmp/"}); // it went on after we stopped waiting
}

TEST_F(PlatformTest, UrisDocumentsAndDirectoriesGoToXdgOpenWithoutParameters) {
    WriteRecorder("xdg-open");
    WriteFile("note.txt", "text");
    WriteFile("photo.jpg", "\xff\xd8\xff not a program", 0755); // executable bits on a document
    fs::create_directory(m_Dir / "sub dir");
    for (const std::string& file : {std::string("mailto:a@example.com"), std::string("file:///etc/hosts"),
                                    PathOf("note.txt"), PathOf("photo.jpg"), PathOf("sub dir")}) {
        EXPECT_EQ(Execute(file, "--dangerous extra"), kShellOk) << file;
        EXPECT_EQ(ArgsOf("xdg-open"), TStrings{file});
    }
    // A relative name is passed absolute, so "-n.txt" is no option of xdg-open.
    WriteFile("-n.txt", "");
    const fs::path saved = fs::current_path();
    fs::current_path(m_Dir);
    const int code = Execute("-n.txt");
    fs::current_path(saved);
    EXPECT_EQ(code, kShellOk);
    EXPECT_EQ(ArgsOf("xdg-open"), TStrings{PathOf("-n.txt")});
}

TEST_F(PlatformTest, ParametersReachTheProgramAsTextWithoutAShell) {
    WriteRecorder("prog");
    EXPECT_EQ(Execute(PathOf("prog"), "'a b' ; $(touch pwned) \"$HOME\" * `id` x\\ y"), kShellOk);
    EXPECT_EQ(ArgsOf("prog"), (TStrings{"a b", ";", "$(touch", "pwned)", "$HOME", "*", "`id`", "x y"}));
    EXPECT_FALSE(fs::exists(m_Dir / "pwned"));
    // Found by name on the search path.
    EXPECT_EQ(Execute("prog", "one"), kShellOk);
    EXPECT_EQ(ArgsOf("prog"), TStrings{"one"});
    EXPECT_TRUE(NoChildLeft());
}

TEST_F(PlatformTest, StartedProgramIsNotAwaited) {
    WriteRecorder("slow", 0, "sleep 1\n");
    EXPECT_EQ(Execute(PathOf("slow"), "done"), kShellOk);
    EXPECT_FALSE(fs::exists(PathOf("slow.args")));
    EXPECT_TRUE(NoChildLeft());
    EXPECT_EQ(ArgsOf("slow"), TStrings{"done"}); // it did run, on its own
}

TEST_F(PlatformTest, FailuresMapToShellCodes) {
    WriteFile("bad-interp", "#!/nonexistent/interpreter\n", 0755);
    EXPECT_EQ(Execute(PathOf("missing")), kShellFileNotFound);
    EXPECT_EQ(Execute("hv-no-such-program-anywhere"), kShellFileNotFound);
    EXPECT_EQ(Execute(PathOf("no-dir/prog")), kShellPathNotFound);
    EXPECT_EQ(Execute(""), kShellFileNotFound);
    EXPECT_EQ(Execute(PathOf("bad-interp")), kShellFileNotFound);
    EXPECT_EQ(Execute("C:\\Windows\\notepad.exe"), kShellFileNotFound);
    if (::geteuid() != 0) { // permissions do not bind root
        WriteFile("secret.txt", "x", 0);
        EXPECT_EQ(Execute(PathOf("secret.txt")), kShellAccessDenied);
    }
    EXPECT_TRUE(NoChildLeft());
}

TEST(LinuxShellLauncher, UriSchemeNeedsTwoCharacters) {
    for (const char* uri : {"http://a", "mailto:x", "file:", "svn+ssh://h", "x-y.z:1"}) {
        EXPECT_TRUE(TLinuxShellLauncher::HasUriScheme(uri)) << uri;
    }
    for (const char* other : {"C:\\a", "c:", "/usr/bin/x", "1http:", "-x:", "name", ":x", "a b:c", ""}) {
        EXPECT_FALSE(TLinuxShellLauncher::HasUriScheme(other)) << other;
    }
}

TEST_F(PlatformTest, ProcessHelpersReportHowProgramsEnd) {
    EXPECT_EQ(SpawnDetached(PathOf("missing"), {"missing"}), ENOENT);
    TAwaitResult awaited = SpawnAndAwait("/bin/sh", {"sh", "-c", "kill -9 $$"}, 10000);
    EXPECT_EQ(awaited.State, TAwaitResult::TState::Signaled);
    EXPECT_EQ(awaited.Value, 9);

    TCapturedRun run = RunCaptured("/bin/sh", {"sh", "-c", "echo out; echo err >&2; exit 3"}, 10000);
    EXPECT_EQ(run.Output, "out\n");
    EXPECT_EQ(run.ExitCode, 3);
    // A program that hangs, with or without its output open, is killed at the timeout.
    EXPECT_TRUE(RunCaptured("/bin/sh", {"sh", "-c", "exec sleep 30"}, 50).TimedOut);
    EXPECT_TRUE(RunCaptured("/bin/sh", {"sh", "-c", "exec >&-; exec sleep 30"}, 50).TimedOut);
    EXPECT_EQ(RunCaptured(PathOf("missing"), {"missing"}, 1000).StartErrno, ENOENT);
    EXPECT_TRUE(NoChildLeft());
}

class NmcliTest : public PlatformTest {
protected:
    // A fake nmcli: records its arguments, prints output, exits with code.
    void FakeNmcli(const std::string& output, int code = 0) const {
        WriteFile("nmcli.out", output);
        WriteRecorder("nmcli", code, "cat \"$0.out\"\n");
    }
    TNmcliConnections Connections() const { return TNmcliConnections({m_Dir.string(), 10000, 10000}); }
};

TEST_F(NmcliTest, ConnectedMeansAnActiveConnectionOtherThanLoopback) {
    EXPECT_TRUE(Connections().IsConnected()); // no nmcli: nothing to hold the launch up
    FakeNmcli("", 8);                         // NetworkManager not running
    EXPECT_TRUE(Connections().IsConnected());
    FakeNmcli("lo:activated:loopback\n");
    EXPECT_FALSE(Connections().IsConnected());
    EXPECT_EQ(ArgsOf("nmcli"), (TStrings{"-t", "-f", "NAME,STATE,TYPE", "connection", "show", "--active"}));
    FakeNmcli("lo:activated:loopback\nMy\\:ISP:activating:ppp\n");
    EXPECT_TRUE(Connections().IsConnected());
}

TEST_F(NmcliTest, DialAndEntries) {
    try {
        Connections().Dial("My ISP");
        ADD_FAILURE() << "no error without nmcli";
    } catch (const EDialUpError& e) {
        EXPECT_TRUE(
            std::string(e.what()).ends_with("を確認してください。\n(2: ファイルまたはディレクトリがありません。)"))
            << e.what();
    }
    FakeNmcli("Home\\:Net\nOffice \\\\ 2\n\n");
    EXPECT_EQ(Connections().Dial("My ISP"), 0);
    EXPECT_EQ(ArgsOf("nmcli"), (TStrings{"connection", "up", "id", "My ISP"}));
    EXPECT_EQ(Connections().Entries(), (TStrings{"Home:Net", "Office \\ 2"}));
    EXPECT_EQ(ArgsOf("nmcli"), (TStrings{"-t", "-f", "NAME", "connection", "show"}));
    FakeNmcli("", 4);
    EXPECT_EQ(Connections().Dial("--help"), 4);
    EXPECT_EQ(ArgsOf("nmcli"), (TStrings{"connection", "up", "id", "--help"}));
}

} // namespace

#include "Errors.h"
#include "TempDir.h"
#include "platform/SafeFile.h"
#include "settings/FileRegistryStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace hv;
namespace fs = std::filesystem;

namespace {

constexpr const char* Key = "Software\\K.Amsel\\Hollyvine";

class FileStoreTest : public ::testing::Test {
protected:
    void Put(const std::string& content) const { std::ofstream(m_Path, std::ios::binary) << content; }
    TWarningSink Collect() {
        return [this](const std::string& message) { m_Warnings.push_back(message); };
    }

    test::TTempDir m_Temp{"hv_store"};
    fs::path m_Dir = m_Temp.Path();
    std::string m_Path = (m_Dir / "registry.reg").string();
    std::vector<std::string> m_Warnings;
};

TEST_F(FileStoreTest, TwoStoresOnOneFileKeepEachOthersValues) {
    TFileRegistryStore first(m_Path);
    TFileRegistryStore second(m_Path);
    first.WriteValue(Key, "FromFirst", TRegValue::String("1"));
    second.WriteValue(Key, "FromSecond", TRegValue::DWord(2));
    first.Flush();
    second.Flush();
    EXPECT_EQ(second.ReadValue(Key, "FromFirst"), TRegValue::String("1"));
    first.Flush(); // nothing to write: only takes in the other's value
    EXPECT_EQ(first.ReadValue(Key, "FromSecond"), TRegValue::DWord(2));
    EXPECT_EQ(TFileRegistryStore(m_Path).ValueNames(Key), (std::vector<std::string>{"FromFirst", "FromSecond"}));
}

TEST_F(FileStoreTest, MergeRulesForWritesDefaultsAndDeletions) {
    TFileRegistryStore seed(m_Path);
    seed.WriteValue(Key, "Both", TRegValue::String("old"));
    seed.WriteValue(Key, "Stale", TRegValue::String("old"));
    seed.WriteValue(Key, "Remove", TRegValue::String("old"));
    seed.Flush();

    TFileRegistryStore early(m_Path);
    TFileRegistryStore late(m_Path);
    early.WriteValue(Key, "Both", TRegValue::String("early"));
    early.WriteValue(Key, "Stale", TRegValue::String("renewed"));
    early.WriteValue(Key, "Default", TRegValue::String("stored"));
    early.WriteValue(Key, "Remove", TRegValue::String("old")); // rewritten unchanged
    early.Flush();
    late.WriteValue(Key, "Both", TRegValue::String("late"));               // both wrote it: the last flush wins
    late.WriteValueIfAbsent(Key, "Default", TRegValue::String("default")); // a default never replaces a value
    late.DeleteValue(Key, "Stale");  // deletes only the value it saw, not the renewed one
    late.DeleteValue(Key, "Remove"); // the value it saw is still there: gone
    late.Flush();

    const TFileRegistryStore result(m_Path);
    EXPECT_EQ(result.ReadValue(Key, "Both"), TRegValue::String("late"));
    EXPECT_EQ(result.ReadValue(Key, "Default"), TRegValue::String("stored"));
    EXPECT_EQ(result.ReadValue(Key, "Stale"), TRegValue::String("renewed"));
    EXPECT_EQ(result.ReadValue(Key, "Remove"), std::nullopt);
}

TEST_F(FileStoreTest, TwoProcessesSavingAtOnceLoseNothing) {
    constexpr int Values = 40;
    std::vector<pid_t> children;
    for (const char* who : {"a", "b"}) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int failures = 0;
            TFileRegistryStore store(m_Path);
            for (int i = 0; i < Values; ++i) {
                store.WriteValue(Key, std::string(who) + std::to_string(i),
                                 TRegValue::DWord(static_cast<std::uint32_t>(i)));
                try {
                    store.Flush();
                } catch (...) {
                    ++failures;
                }
            }
            _exit(failures == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const TFileRegistryStore result(m_Path);
    EXPECT_EQ(result.ValueNames(Key).size(), 2u * Values);
    EXPECT_EQ(result.ReadValue(Key, "b39"), TRegValue::DWord(39));
}

TEST_F(FileStoreTest, ADamagedFileIsMovedAsideWithAWarning) {
    std::ofstream(m_Path + ".bad") << "an older damaged copy";
    const std::string damaged = "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"A\"=dword:nonsense\n";
    Put(damaged);
    TFileRegistryStore store(m_Path, Collect());
    ASSERT_EQ(m_Warnings.size(), 1u);
    EXPECT_NE(m_Warnings[0].find("registry.reg.bad"), std::string::npos) << m_Warnings[0];
    EXPECT_NE(m_Warnings[0].find("3 行目"), std::string::npos) << m_Warnings[0];
    EXPECT_EQ(ReadFileBytes(m_Path + ".bad"), damaged);
    EXPECT_FALSE(FileExists(m_Path));
    EXPECT_FALSE(store.KeyExists("Software"));
    store.WriteValue(Key, "A", TRegValue::DWord(1));
    store.Flush();
    EXPECT_EQ(TFileRegistryStore(m_Path).ReadValue(Key, "A"), TRegValue::DWord(1));
}

TEST_F(FileStoreTest, TheDefaultWarningGoesToStandardError) {
    Put("not a registry file");
    ::testing::internal::CaptureStderr();
    TFileRegistryStore store(m_Path);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("registry.reg.bad"), std::string::npos) << err;
}

TEST_F(FileStoreTest, AFileThatCannotBeMovedAsideIsNeverOverwritten) {
    // A directory in the way of the rename (which would stop root as well as anyone).
    fs::create_directories(m_Dir / "registry.reg.bad" / "inside");
    Put("garbage");
    TFileRegistryStore store(m_Path, Collect());
    EXPECT_EQ(m_Warnings.size(), 1u);
    store.WriteValue(Key, "A", TRegValue::DWord(1));
    EXPECT_THROW(store.Flush(), EFileError);
    EXPECT_TRUE(store.HasPendingChanges());
    EXPECT_EQ(ReadFileBytes(m_Path), "garbage");
}

TEST_F(FileStoreTest, MakesTheDirectoryAndRemovesTheFileWhenNothingIsLeft) {
    const std::string nested = (m_Dir / "a" / "b" / "registry.reg").string();
    TFileRegistryStore store(nested);
    store.Flush(); // nothing to write: no directory made
    EXPECT_FALSE(fs::exists(m_Dir / "a"));
    store.WriteValue(Key, "A", TRegValue::String("x"));
    store.Flush();
    EXPECT_TRUE(FileExists(nested));
    EXPECT_EQ(static_cast<unsigned>(fs::status(m_Dir / "a").permissions() & fs::perms::all), 0700u);
    store.DeleteKey("Software");
    store.Flush();
    EXPECT_FALSE(FileExists(nested));
}

TEST(ConfigDirectoryTest, FollowsTheEnvironment) {
    const auto set = [](const char* name, const char* value) {
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    };
    std::vector<std::pair<const char*, std::optional<std::string>>> saved;
    for (const char* name : {"HOLLYVINE_CONFIG_DIR", "XDG_CONFIG_HOME", "HOME"}) {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
    setenv("HOME", "/home/tester", 1);
    const struct {
        const char* ConfigDir;
        const char* XdgConfigHome;
        const char* Expected;
    } cases[] = {{"/tmp/hv", "/x", "/tmp/hv"},
                 {"", "/x", "/x/hollyvine"}, // an empty own directory counts as none
                 {nullptr, "/x", "/x/hollyvine"},
                 {nullptr, "rel", "/home/tester/.config/hollyvine"}, // a relative XDG directory is ignored
                 {nullptr, nullptr, "/home/tester/.config/hollyvine"}};
    for (const auto& c : cases) {
        set("HOLLYVINE_CONFIG_DIR", c.ConfigDir);
        set("XDG_CONFIG_HOME", c.XdgConfigHome);
        EXPECT_EQ(RegistryFilePath(), std::string(c.Expected) + "/registry.reg");
    }
    for (const auto& [name, value] : saved) {
        set(name, value ? value->c_str() : nullptr);
    }
}

} // namespace

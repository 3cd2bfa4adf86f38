#include "TempDir.h"
#include "settings/FontQuery.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace hv {
namespace {

namespace fs = std::filesystem;

// Stand-ins for fc-list and fc-match in a directory that alone makes PATH.
class FontconfigQueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        m_HadPath = path != nullptr;
        m_SavedPath = m_HadPath ? path : "";
        setenv("PATH", m_Dir.Path().c_str(), 1);
    }
    void TearDown() override { m_HadPath ? setenv("PATH", m_SavedPath.c_str(), 1) : unsetenv("PATH"); }
    void Tool(const std::string& name, const std::string& body) {
        const std::string file = m_Dir.PathOf(name);
        std::ofstream(file) << "#!/bin/sh\necho run >> \"" << m_Dir.PathOf("runs") << "\"\n" << body;
        chmod(file.c_str(), 0755);
    }
    int Runs() const {
        std::ifstream in(m_Dir.PathOf("runs"));
        int count = 0;
        for (std::string line; std::getline(in, line);) {
            ++count;
        }
        return count;
    }
    test::TTempDir m_Dir{"fontquery"};
    std::string m_SavedPath;
    bool m_HadPath = false;
};

TEST_F(FontconfigQueryTest, AFamilyIsInstalledWhenTheListNamesOne) {
    Tool("fc-list", "case \"$1\" in ':family=MS UI Gothic') echo 'MS UI Gothic' ;; esac\n");
    const TFontconfigQuery query;
    EXPECT_TRUE(query.IsInstalled("MS UI Gothic"));
    EXPECT_FALSE(query.IsInstalled("Other"));
    EXPECT_EQ(MemoFontDefault(query), "00,09,MS UI Gothic");
}

TEST_F(FontconfigQueryTest, PatternCharactersAreEscaped) {
    Tool("fc-list", "[ \"$1\" = ':family=A\\-B\\:C\\,D\\\\E' ] && echo found\n");
    EXPECT_TRUE(TFontconfigQuery().IsInstalled("A-B:C,D\\E"));
}

TEST_F(FontconfigQueryTest, TheUiFamilyComesFromTheMatchOrFallsBack) {
    Tool("fc-match", "printf 'Noto Sans CJK JP\\n'\n");
    EXPECT_EQ(TFontconfigQuery().DefaultUiFamily(), "Noto Sans CJK JP");
    Tool("fc-match", "exit 1\n");
    EXPECT_EQ(TFontconfigQuery().DefaultUiFamily(), "Sans Serif");
    fs::remove(m_Dir.PathOf("fc-match"));
    EXPECT_EQ(TFontconfigQuery().DefaultUiFamily(), "Sans Serif");
}

TEST_F(FontconfigQueryTest, AToolThatDoesNotAnswerIsNotAskedAgain) {
    Tool("fc-list", "exec /bin/sleep 30\n");
    Tool("fc-match", "echo Late\n");
    const TFontconfigQuery query;
    // Neither memo font is found and the UI family is not asked for: one wait, not three.
    EXPECT_EQ(MemoFontDefault(query), "00,09,Sans Serif");
    EXPECT_EQ(Runs(), 1);
}

} // namespace
} // namespace hv

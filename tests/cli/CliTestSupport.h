#pragma once

#include "Command.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdlib.h>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

namespace hv::cli::test {

struct TRunResult {
    int Code = -1;
    std::string Out;
    std::string Err;
    bool operator==(const TRunResult&) const = default;
};

inline void PrintTo(const TRunResult& r, std::ostream* os) {
    *os << "{" << r.Code << ", \"" << r.Out << "\", \"" << r.Err << "\"}";
}

// Runs hvtool in-process with the given standard input.
inline TRunResult RunTool(const std::vector<std::string>& args, const std::string& input = {},
                          bool inputIsTerminal = false) {
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in(input);
    TCommandIO io{out, err, in, inputIsTerminal};
    TRunResult result;
    result.Code = RunHvtool(args, io);
    result.Out = out.str();
    result.Err = err.str();
    return result;
}

// Runs hvtool with its standard output going to sink.
inline int RunToolInto(std::streambuf& sink, const std::vector<std::string>& args, const std::string& input = {}) {
    std::ostream out(&sink);
    std::ostringstream err;
    std::istringstream in(input);
    TCommandIO io{out, err, in, false};
    const int code = RunHvtool(args, io);
    EXPECT_EQ(err.str(), "");
    return code;
}

inline std::string Cp932(const std::string& utf8) {
    auto bytes = EncodeCp932(utf8);
    EXPECT_TRUE(bytes.has_value()) << utf8;
    return bytes.value_or(std::string());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Each test gets a directory of its own, removed afterwards, with the user's settings inside it
// (so the user's own never change what a test sees) and no password in the environment.
class THvtoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "hvtool-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_Dir = pattern;
        SaveEnv("HOLLYVINE_CONFIG_DIR", (m_Dir / "config").string());
        SaveEnv("HOLLYVINE_PASSWORD", std::nullopt);
    }
    void TearDown() override {
        for (auto it = m_SavedEnv.rbegin(); it != m_SavedEnv.rend(); ++it) {
            it->second ? setenv(it->first.c_str(), it->second->c_str(), 1) : unsetenv(it->first.c_str());
        }
        std::error_code ec;
        std::filesystem::remove_all(m_Dir, ec);
    }
    // Sets (or with nullopt unsets) an environment variable until the end of the test.
    void SaveEnv(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        m_SavedEnv.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
        value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    std::string PathOf(const std::string& name) const { return (m_Dir / name).string(); }
    // Writes the settings store with VALUES under KEY (below the program's own key).
    void WriteSettings(const std::string& values, const std::string& key = {}) const {
        std::filesystem::create_directories(m_Dir / "config");
        WriteBytes(PathOf("config/registry.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\K.Amsel\\Hollyvine" +
                                                      key + "]\r\n" + values + "\r\n");
    }
    // The outline ls prints of a document that must open.
    std::string Ls(const std::string& doc) const {
        TRunResult r = RunTool({"ls", doc});
        EXPECT_EQ(r.Code, 0) << r.Err;
        return r.Out;
    }

    std::filesystem::path m_Dir;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_SavedEnv;
};

} // namespace hv::cli::test

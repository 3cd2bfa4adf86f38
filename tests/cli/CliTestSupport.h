#pragma once

#include "Command.h"
#include "text/Encoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdlib.h>
#include <streambuf>
#include <string>
#include <vector>

namespace hv::cli::test {

struct TRunResult {
    int Code = -1;
    std::string Out;
    std::string Err;
};

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

// Each test gets a directory of its own, removed afterwards.
class THvtoolTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "hvtool-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_Dir = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(m_Dir, ec);
    }
    std::string PathOf(const std::string& name) const { return (m_Dir / name).string(); }

    std::filesystem::path m_Dir;
};

} // namespace hv::cli::test

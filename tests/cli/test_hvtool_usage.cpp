#include "CliTestSupport.h"

namespace hv::cli::test {
namespace {

TEST(HvtoolUsage, HelpListsEveryCommandOnStandardOutput) {
    for (const char* spelling : {"--help", "help", "-h"}) {
        TRunResult r = RunTool({spelling});
        EXPECT_EQ(r.Code, 0) << spelling;
        EXPECT_EQ(r.Err, "");
        for (const TCommandInfo& command : CommandTable()) {
            EXPECT_NE(r.Out.find("  " + std::string(command.Name) + " " + std::string(command.Synopsis)),
                      std::string::npos)
                << command.Name;
        }
    }
}

TEST(HvtoolUsage, VersionIsTheProjectsOnStandardOutput) {
    EXPECT_EQ(RunTool({"--version"}), (TRunResult{0, "hvtool " HV_EXPECTED_VERSION "\n", ""}));
    EXPECT_NE(RunTool({"--help"}).Out.find("hvtool --version でバージョンを表示します。\n"), std::string::npos);
}

TEST(HvtoolUsage, HelpOfOneCommandShowsItsDetails) {
    TRunResult viaHelp = RunTool({"help", "ls"});
    EXPECT_EQ(viaHelp.Code, 0);
    EXPECT_EQ(RunTool({"ls", "--help"}), viaHelp);
    EXPECT_NE(viaHelp.Out.find("名前  <URL>"), std::string::npos) << viaHelp.Out;
}

TEST(HvtoolUsage, UsageErrorsExitWithTwoAndAShortUsageOnStandardError) {
    const std::vector<std::vector<std::string>> cases = {{},
                                                         {"frobnicate"},
                                                         {"help", "frobnicate"},
                                                         {"dump"},
                                                         {"dump", "a.hv", "b.hv"},
                                                         {"dump", "a.hv", "--verbose"},
                                                         {"dump", "a.hv", "--password"},
                                                         {"dump", "a.hv", "--compact=yes"},
                                                         {"ls", "a.hv", "-x"},
                                                         {"write", "in.json"},
                                                         {"write", "in.json", "out.hv", "more"},
                                                         {"write", "in.json", "out.hv", "--compact"}};
    for (const auto& args : cases) {
        TRunResult r = RunTool(args);
        EXPECT_EQ(r.Code, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.Out, "");
        EXPECT_NE(r.Err.find("使い方: hvtool"), std::string::npos) << r.Err;
    }
}

TEST(HvtoolUsage, DoubleDashAndNegativeNumbersAreNoOptions) {
    // Taken as file names, which do not exist: the read fails instead of the usage.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"dump", "--", "--compact"}, std::vector<std::string>{"dump", "-1"}}) {
        TRunResult r = RunTool(args);
        EXPECT_EQ(r.Code, 1);
        EXPECT_NE(r.Err.find(args.back()), std::string::npos) << r.Err;
    }
}

} // namespace
} // namespace hv::cli::test

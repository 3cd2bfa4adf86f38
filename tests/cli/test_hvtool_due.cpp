#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

#include <string>

namespace hv::cli::test {
namespace {

THVItem* AddItem(THVFolder& folder, const char* name, const char* url, const char* schedule, TDateTime visited = 0) {
    THVItem* item = folder.List().Add();
    item->SetName(name);
    item->SetURL(url);
    item->SetSchedule(schedule);
    item->SetLastVisited(visited);
    return item;
}

class TDueTest : public THvtoolTest {
protected:
    // 2024-03-04 is a Monday; the due items at 9:30 that day are Top, A and C.
    void SetUp() override {
        THvtoolTest::SetUp();
        THVFolder root("Hollyvine");
        AddItem(root, "Top", "http://top/", "W 2 9:00 1,0");
        THVFolder* news = root.AddChild("News");
        AddItem(*news, "B", "http://b/", "W 3 9:00 1,0");
        AddItem(*news, "A", "http://a/", "M 4 9:00 0,1");
        AddItem(*news, "Seen", "http://seen/", "W 2 9:00 1,0", EncodeDateTime(2024, 3, 4, 9, 10));
        AddItem(*news, "Plain", "http://plain/", "");
        AddItem(*news->AddChild("深い"), "C", "file:///c", "W 1,2 0:00 30,0");
        AddItem(*root.AddChild("Other"), "D", "http://d/", "W 2 10:00 1,0");
        SaveDocumentFile(PathOf("a.hv"), root, "");
        SaveDocumentFile(PathOf("p.hv"), root, "pw");
    }

    const std::string m_Expected = "Hollyvine\tTop\thttp://top/\n"
                                   "Hollyvine\\News\tA\thttp://a/\n"
                                   "Hollyvine\\News\\深い\tC\tfile:///c\n";
};

TEST_F(TDueTest, ListsTheDueItemsWithTheirPaths) {
    EXPECT_EQ(RunTool({"due", PathOf("a.hv"), "--at", "2024/3/4 9:30"}), (TRunResult{0, m_Expected, ""}));
}

TEST_F(TDueTest, NowIsTheProgramClockAndPasswordsAreAsked) {
    SaveEnv("HOLLYVINE_NOW", "2024/3/4 9:30");
    EXPECT_EQ(RunTool({"due", PathOf("a.hv")}).Out, m_Expected);
    EXPECT_EQ(RunTool({"due", PathOf("a.hv"), "--at", "2024/3/4 8:59"}).Out, "Hollyvine\\News\\深い\tC\tfile:///c\n");
    EXPECT_EQ(RunTool({"due", PathOf("p.hv")}).Code, 1);
    EXPECT_EQ(RunTool({"due", PathOf("p.hv"), "--password", "pw"}).Out, m_Expected);
}

TEST_F(TDueTest, BadArgumentsAreUsageErrors) {
    for (const char* at : {"", "2024-03-04 09:30", "2024/2/30 9:00", "2024/3/4 25:00", "2024/3/4"}) {
        TRunResult r = RunTool({"due", PathOf("a.hv"), "--at", at});
        EXPECT_EQ(r.Code, 2) << at;
        EXPECT_EQ(r.Out, "") << at;
    }
    EXPECT_EQ(RunTool({"due"}).Code, 2);
    EXPECT_EQ(RunTool({"due", PathOf("a.hv"), PathOf("a.hv")}).Code, 2);
    EXPECT_EQ(RunTool({"due", PathOf("missing.hv"), "--at", "2024/3/4 9:30"}).Code, 1);
}

} // namespace
} // namespace hv::cli::test

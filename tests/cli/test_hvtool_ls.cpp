#include "CliTestSupport.h"
#include "document/DocumentFile.h"
#include "model/HVFolder.h"

namespace hv::cli::test {
namespace {

using TLsTest = THvtoolTest;

TEST_F(TLsTest, PrintsFoldersAsAnOutlineWithTheirItemsFirst) {
    THVFolder root("Hollyvine");
    THVItem* top = root.List().Add();
    top->SetName("Yahoo!");
    top->SetURL("http://www.yahoo.co.jp/");
    THVFolder* news = root.AddChild("ニュース");
    news->List().Add()->SetName("NHK");
    news->List().Items(0)->SetURL("http://www.nhk.or.jp/");
    news->AddChild("空");
    root.AddChild("Alpha")->List().Add()->SetName("no url");
    SaveDocumentFile(PathOf("a.hv"), root, "");

    TRunResult r = RunTool({"ls", PathOf("a.hv")});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(r.Out, "Hollyvine\n"
                     "  Yahoo!  <http://www.yahoo.co.jp/>\n"
                     "  ニュース\n"
                     "    NHK  <http://www.nhk.or.jp/>\n"
                     "    空\n"
                     "  Alpha\n"
                     "    no url  <>\n");
}

TEST_F(TLsTest, NeedsThePasswordOfAProtectedDocument) {
    THVFolder root("Hollyvine");
    root.List().Add()->SetName("secret");
    SaveDocumentFile(PathOf("p.hv"), root, "pw");
    EXPECT_EQ(RunTool({"ls", PathOf("p.hv")}).Code, 1);
    TRunResult r = RunTool({"ls", PathOf("p.hv"), "--password", "pw"});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, "Hollyvine\n  secret  <>\n");
}

} // namespace
} // namespace hv::cli::test

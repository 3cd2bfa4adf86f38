#include "LifecycleTestSupport.h"
#include "document/Preload.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hv::test {
namespace {

using TKind = TFakePrompts::TKind;
using TRecord = TFakePrompts::TRecord;

const std::string kDoc = kHeader1 + ItemRecord("a", "http://a/") + FolderRecord(1, "f") + ItemRecord("b", "http://b/");

std::string WithPath(std::string text, const std::string& path) {
    if (auto at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, path);
    }
    return text;
}

// --- the save prompt ----------------------------------------------------------------------

struct TPromptCase {
    const char* Name;
    bool Modified, Named, AutoSave;
    std::optional<TSaveAnswer> Answer; // nullopt: no question expected
    const char* DialogName;            // the save dialog's answer, if any
    bool ExpectSaved, ExpectGoOn, ExpectViewState;
};

class TSavePromptTest : public TLifecycleTest, public ::testing::WithParamInterface<TPromptCase> {};

TEST_P(TSavePromptTest, Branches) {
    const TPromptCase& c = GetParam();
    m_Settings->Set(opt::Main::AutoSave, c.AutoSave);
    if (c.Named) {
        m_Doc->SetFileName(PathOf("doc.hv"));
    }
    if (c.Modified) {
        m_Doc->MarkModified();
    }
    if (c.Answer) {
        m_Prompts.SaveAnswers.push_back(*c.Answer);
    }
    if (c.DialogName != nullptr) {
        m_View.SaveNames.push_back(PathOf(c.DialogName));
    }
    EXPECT_EQ(m_Doc->SavePrompt(), c.ExpectGoOn);
    EXPECT_EQ(m_Doc->Modified(), !c.ExpectGoOn);
    EXPECT_EQ(m_Prompts.Records.size(), c.Answer ? 1u : 0u);
    const std::string saved = PathOf(c.DialogName != nullptr ? c.DialogName : "doc.hv");
    EXPECT_EQ(std::filesystem::exists(saved), c.ExpectSaved);
    EXPECT_EQ(StoredViewState(saved).has_value(), c.ExpectViewState);
}

INSTANTIATE_TEST_SUITE_P(
    Lifecycle, TSavePromptTest,
    ::testing::Values(
        TPromptCase{"UnmodifiedNamedWritesViewState", false, true, false, {}, nullptr, false, true, true},
        TPromptCase{"UnmodifiedUntitled", false, false, false, {}, nullptr, false, true, false},
        TPromptCase{"AutoSaveNamedSavesSilently", true, true, true, {}, nullptr, true, true, true},
        TPromptCase{"AutoSaveUntitledStillAsks", true, false, true, TSaveAnswer::Cancel, nullptr, false, false, false},
        TPromptCase{"SaveAnswer", true, true, false, TSaveAnswer::Save, nullptr, true, true, true},
        TPromptCase{"DontSaveClearsMarkOnly", true, true, false, TSaveAnswer::DontSave, nullptr, false, true, false},
        TPromptCase{"Cancel", true, true, false, TSaveAnswer::Cancel, nullptr, false, false, false},
        TPromptCase{"UntitledSaveAsksForName", true, false, false, TSaveAnswer::Save, "new.hv", true, true, true},
        TPromptCase{"UntitledNameCancelled", true, false, false, TSaveAnswer::Save, nullptr, false, false, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TLifecycleTest, SavePromptTextNamesTheFullPathOrUntitled) {
    const std::string tail = "\" は変更されています。保存しますか？\n\n保存しない場合、変更内容は失われます。\n"
                             "現在の処理を中断したい場合は [キャンセル] を選んでください。";
    m_Prompts.SaveAnswers = {TSaveAnswer::Cancel, TSaveAnswer::Cancel};
    m_Doc->MarkModified();
    EXPECT_EQ(m_View.Captions.back(), "Hollyvine - (無題)(更新)");
    m_Doc->SavePrompt();
    m_Doc->SetFileName(PathOf("d.hv"));
    EXPECT_EQ(m_View.Captions.back(), "Hollyvine - d.hv(新規)");
    m_Doc->MarkModified();
    m_Doc->SavePrompt();
    EXPECT_EQ(m_Prompts.Records,
              (std::vector<TRecord>{{TKind::Save, "ファイル \"(無題)" + tail, "ファイルの保存"},
                                    {TKind::Save, "ファイル \"" + PathOf("d.hv") + tail, "ファイルの保存"}}));
}

TEST_F(TLifecycleTest, FailedAutoSaveFallsBackToTheQuestion) {
    m_Settings->Set(opt::Main::AutoSave, true);
    m_Doc->SetFileName(PathOf("missing-dir/doc.hv"));
    m_Doc->MarkModified();
    m_Prompts.SaveAnswers.push_back(TSaveAnswer::DontSave);
    EXPECT_TRUE(m_Doc->SavePrompt());
    ASSERT_EQ(m_Prompts.Records.size(), 2u);
    EXPECT_EQ(m_Prompts.Records[0].Text, "ファイル \"" + PathOf("missing-dir/doc.hv") + "\" を保存できませんでした。");
    EXPECT_EQ(m_Prompts.Records[1].Kind, TKind::Save);
}

// --- open ---------------------------------------------------------------------------------

TEST_F(TLifecycleTest, OpenReadsTheFileAndTellsTheWindow) {
    Put("doc.hv", kDoc + FolderRecord(2, "g"));
    ASSERT_TRUE(m_Doc->Open(PathOf("doc.hv")));
    EXPECT_FALSE(m_Doc->Modified());
    EXPECT_EQ(m_Doc->Properties().FolderCount, 3) << "the root counts";
    EXPECT_EQ(m_View.Events, (std::vector<std::string>{"busy", "root-", "root+", "idle"}));
    EXPECT_EQ(m_View.Captions,
              (std::vector<std::string>{"ファイル \"doc.hv\" を開いています...", "Hollyvine - doc.hv"}));
    EXPECT_TRUE(m_Prompts.Records.empty());
}

struct TOpenErrorCase {
    const char* Name;
    std::string Bytes; // empty: no file
    bool Debug;
    TKind Kind;
    std::string Title, TextStart; // %s: the path
    bool TreeReplaced;
};

class TOpenErrorTest : public TLifecycleTest, public ::testing::WithParamInterface<TOpenErrorCase> {};

TEST_P(TOpenErrorTest, ReportsAndLeavesTheRightState) {
    const TOpenErrorCase& c = GetParam();
    Put("old.hv", kDoc);
    ASSERT_TRUE(m_Doc->Open(PathOf("old.hv")));
    m_Doc->MarkModified();
    m_Doc->SetDebugMode(c.Debug);
    if (!c.Bytes.empty()) {
        Put("bad.hv", c.Bytes);
    }
    EXPECT_FALSE(m_Doc->Open(PathOf("bad.hv")));
    const TRecord& shown = m_Prompts.Only();
    EXPECT_EQ(shown.Kind, c.Kind);
    EXPECT_EQ(shown.Title, c.Title);
    EXPECT_TRUE(shown.Text.starts_with(WithPath(c.TextStart, PathOf("bad.hv")))) << shown.Text;
    if (c.TreeReplaced) { // what was read before the broken record stays, under no name, unmodified
        EXPECT_EQ(m_Doc->FileName(), "");
        EXPECT_FALSE(m_Doc->Modified());
        EXPECT_EQ(m_Doc->Properties().FolderCount + m_Doc->Properties().ItemCount, 2);
    } else {
        EXPECT_EQ(m_Doc->FileName(), PathOf("old.hv"));
        EXPECT_TRUE(m_Doc->Modified());
        EXPECT_EQ(m_Doc->Properties().FolderCount, 2);
    }
    EXPECT_EQ(m_Doc->RecentFiles().Count(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Lifecycle, TOpenErrorTest,
    ::testing::Values(
        TOpenErrorCase{"NotADocument", "hello\r\n", false, TKind::Warning, "Hollyvine",
                       "ファイル \"%s\" はHollyvine のドキュメントではありません。", false},
        TOpenErrorCase{"Missing", "", false, TKind::Error, "Hollyvine", "ファイル \"%s\" を開けませんでした。", false},
        TOpenErrorCase{"MissingInDebugMode", "", true, TKind::Error, "File Open Error",
                       "FileName: %s\nException Class: EFileError\nError Message: \"", false},
        TOpenErrorCase{"BrokenLevel", kHeader1 + ItemRecord("a", "u") + FolderRecord(0, "x"), false, TKind::Error,
                       "Hollyvine", "ファイル \"%s\" を開けませんでした。", true},
        TOpenErrorCase{"BrokenMemo", kHeader1 + ItemRecord("a", "u") + ItemRecord("b", "u", "Memo=\"x\"y\r\n"), true,
                       TKind::Error, "File Open Error", "FileName: %s\nException Class: EConvertError\n", true}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TLifecycleTest, PasswordGateOpensOnlyOnTheExactPassword) {
    THVFolder root;
    root.List().Add()->SetName("秘密の項目");
    Put("p.hv", BuildDocumentBytes(root, "Secret"));
    Put("old.hv", kDoc);
    ASSERT_TRUE(m_Doc->Open(PathOf("old.hv")));
    m_Doc->MarkModified();
    for (std::optional<std::string> wrong : {std::optional<std::string>("secret"), std::optional<std::string>()}) {
        m_Prompts.Records.clear();
        m_Prompts.PasswordAnswers.push_back(wrong);
        EXPECT_FALSE(m_Doc->Open(PathOf("p.hv")));
        EXPECT_EQ(
            m_Prompts.Records,
            (std::vector<TRecord>{{TKind::Password,
                                   "ファイル \"p.hv\" はパスワードで保護されています。\nパスワードを入力してください。",
                                   "Hollyvine"},
                                  {TKind::Warning, "正しいパスワードが入力されませんでした。", "Hollyvine"}}));
        EXPECT_EQ(m_Doc->FileName(), PathOf("old.hv"));
        EXPECT_TRUE(m_Doc->Modified());
        EXPECT_EQ(m_Doc->Root().List().Items(0)->GetName(), "a");
        EXPECT_EQ(m_View.Captions.back(), "Hollyvine - old.hv(更新)");
    }
    m_Prompts.PasswordAnswers.push_back("Secret");
    ASSERT_TRUE(m_Doc->Open(PathOf("p.hv")));
    EXPECT_EQ(m_Doc->Password(), "Secret");
}

// --- the start-up document, read ahead --------------------------------------------------------

// Three folders out of name order, so that the folder order of the reading shows.
const std::string kUnsorted =
    kHeader1 + FolderRecord(1, "c") + FolderRecord(1, "a") + ItemRecord("x", "http://x/") + FolderRecord(1, "b");

TEST_F(TLifecycleTest, OpenTakesAFittingPreloadOnceAndEndsAsAPlainOpen) {
    for (const bool sorted : {false, true}) {
        m_Settings->Set(opt::Main::SortFolder, sorted);
        Put("doc.hv", kUnsorted);
        THVDocument plain(m_Prompts, m_Settings.get());
        ASSERT_TRUE(plain.Open(PathOf("doc.hv")));
        m_View.Events.clear();
        TDocumentPreload preload(PathOf("doc.hv"), sorted);
        ASSERT_TRUE(m_Doc->Open(PathOf("doc.hv"), &preload));
        EXPECT_EQ(BuildDocumentBytes(m_Doc->Root(), ""), BuildDocumentBytes(plain.Root(), ""));
        EXPECT_EQ(m_View.Events, (std::vector<std::string>{"busy", "root-", "root+", "idle"}));
        EXPECT_EQ(m_View.Captions.back(), "Hollyvine - doc.hv");
        EXPECT_EQ(m_Doc->FileName(), PathOf("doc.hv"));
        EXPECT_EQ(m_Doc->RecentFiles().Items().front(), PathOf("doc.hv"));
        EXPECT_FALSE(preload.Take(PathOf("doc.hv"), sorted)) << "handed over once";
    }
    EXPECT_TRUE(m_Prompts.Records.empty());
}

// Whatever the preload holds, Open ends as it would without it: the file as it is now, read with
// the document's own folder order, and the questions and messages it always gives.
TEST_F(TLifecycleTest, OpenReadsAgainWhenThePreloadDoesNotFit) {
    THVFolder secret;
    secret.List().Add()->SetName("秘密");
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::function<void()> BetweenPreloadAndOpen;
        bool PreloadSorted;
        std::string OpenedPath;
    };
    const std::vector<TCase> cases = {
        {"another file", kUnsorted, [] {}, false, "other.hv"},
        {"another folder order", kUnsorted, [] {}, true, "doc.hv"},
        {"file rewritten", kUnsorted, [this] { Put("doc.hv", kDoc); }, false, "doc.hv"},
        {"password", BuildDocumentBytes(secret, "pw"), [] {}, false, "doc.hv"},
        {"no document", "hello\r\n", [] {}, false, "doc.hv"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Put("doc.hv", c.Bytes);
        Put("other.hv", kDoc + ItemRecord("only in other", "http://o/"));
        TDocumentPreload preload(PathOf("doc.hv"), c.PreloadSorted);
        c.BetweenPreloadAndOpen();
        m_Prompts.Records.clear();
        m_Prompts.PasswordAnswers.push_back("pw");
        TFakePrompts plainPrompts;
        plainPrompts.PasswordAnswers.push_back("pw");
        THVDocument plain(plainPrompts, m_Settings.get());
        THVDocument preloaded(m_Prompts, m_Settings.get());
        EXPECT_EQ(preloaded.Open(PathOf(c.OpenedPath), &preload), plain.Open(PathOf(c.OpenedPath)));
        EXPECT_EQ(m_Prompts.Records, plainPrompts.Records);
        EXPECT_EQ(BuildDocumentBytes(preloaded.Root(), ""), BuildDocumentBytes(plain.Root(), ""));
        m_Prompts.PasswordAnswers.clear();
    }
}

TEST(TStartUpDocument, CommandLineFileElseTheMostRecentWithStartWithFile) {
    TMemoryRegistryStore store;
    TNoFonts fonts;
    TSettings settings(store, &fonts);
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string file = (dir / "hv_startup_test.hv").string();
    std::ofstream(file) << kDoc;
    TRecentFiles recent;
    recent.SetStoredText("/recent/one.hv;/recent/two.hv");
    for (const bool startWithFile : {false, true}) {
        settings.Set(opt::Main::StartWithFile, startWithFile);
        const std::string fallback = startWithFile ? "/recent/one.hv" : "";
        EXPECT_EQ(StartUpDocumentPath(file, &settings, recent), FullFileName(file));
        EXPECT_EQ(StartUpDocumentPath(dir.string(), &settings, recent), fallback) << "a folder is no document";
        EXPECT_EQ(StartUpDocumentPath((dir / "hv_missing.hv").string(), &settings, recent), fallback);
        EXPECT_EQ(StartUpDocumentPath("", &settings, recent), fallback);
        EXPECT_EQ(StartUpDocumentPath("", &settings, TRecentFiles()), "");
    }
    EXPECT_EQ(StartUpDocumentPath("", nullptr, recent), "");
    std::filesystem::remove(file);
}

// --- save ---------------------------------------------------------------------------------

TEST_F(TLifecycleTest, SaveWritesTheVersionThePasswordCallsFor) {
    THVItem* item = m_Doc->Root().List().Add();
    m_View.OnCommit = [item] { item->SetMemo("edited"); };
    ASSERT_TRUE(m_Doc->SaveAs(PathOf("v.hv")));
    EXPECT_TRUE(Read("v.hv").starts_with("# Holly Vine Document 1\r\n"));
    EXPECT_NE(Read("v.hv").find("Memo=\"edited\""), std::string::npos) << "the memo editor's text is saved";
    EXPECT_EQ(StoredViewState(PathOf("v.hv")), "2024/3/5\r\nCollapsed=\r\n");
    EXPECT_EQ(m_Doc->RecentFiles().Items().front(), PathOf("v.hv"));
    EXPECT_TRUE(m_Doc->SetPassword("pw"));
    EXPECT_TRUE(m_Doc->Modified());
    ASSERT_TRUE(m_Doc->Save());
    EXPECT_TRUE(Read("v.hv").starts_with("# Hollyvine Document 2\r\n"));
    EXPECT_TRUE(m_Doc->SetPassword(""));
    ASSERT_TRUE(m_Doc->Save());
    EXPECT_TRUE(Read("v.hv").starts_with("# Holly Vine Document 1\r\n"));
    EXPECT_FALSE(m_Doc->SetPassword("")) << "the same password is no change";
    EXPECT_FALSE(m_Doc->Modified());
    EXPECT_THROW(m_Doc->SetPassword("12345678901234567"), EHVError);
    EXPECT_THROW(m_Doc->SetPassword("a\nb"), EHVError) << "a line break would end the header line";
}

TEST_F(TLifecycleTest, FailedSaveLeavesTheOldFileAndTheMark) {
    Put("doc.hv", kDoc);
    ASSERT_TRUE(m_Doc->Open(PathOf("doc.hv")));
    m_Doc->Root().List().Add()->SetName("new");
    m_Doc->MarkModified();
    TSafeWriteOptions diskFull;
    diskFull.FailAfterBytes = 10;
    TSafeWriteOptions noTempFile; // as when the directory may not be written
    noTempFile.TempName = [this](const std::string&, const std::string&) { return PathOf("no-dir/t.hv"); };
    for (const TSafeWriteOptions& fault : {diskFull, noTempFile}) {
        m_Prompts.Records.clear();
        m_Doc->SetWriteOptions(fault);
        EXPECT_FALSE(m_Doc->Save());
        EXPECT_EQ(m_Prompts.Only(),
                  (TRecord{TKind::Error, WithPath("ファイル \"%s\" を保存できませんでした。", PathOf("doc.hv")),
                           "Hollyvine"}));
        EXPECT_EQ(Read("doc.hv"), kDoc);
        EXPECT_EQ(Entries(), std::vector<std::string>{"doc.hv"});
        EXPECT_EQ(m_View.Captions.back(), "Hollyvine - doc.hv(更新)");
    }
    m_Doc->SetDebugMode(true);
    m_Prompts.Records.clear();
    EXPECT_FALSE(m_Doc->Save());
    ASSERT_EQ(m_Prompts.Records.size(), 2u);
    EXPECT_TRUE(m_Prompts.Records[1].Text.ends_with("ファイルまたはディレクトリがありません。\n[EFileError]"))
        << m_Prompts.Records[1].Text;
    // A failed "save as" leaves the document under the name it had.
    m_Doc->SetWriteOptions({});
    EXPECT_FALSE(m_Doc->SaveAs(PathOf("no-dir/new.hv")));
    EXPECT_EQ(m_Doc->FileName(), PathOf("doc.hv"));
    EXPECT_TRUE(m_Doc->Modified());
}

TEST_F(TLifecycleTest, CrashWhileWritingLeavesTheOldDocument) {
    Put("doc.hv", kDoc);
    ASSERT_TRUE(m_Doc->Open(PathOf("doc.hv")));
    for (int i = 0; i < 2000; ++i) {
        m_Doc->Root().List().Add()->SetName("item " + std::to_string(i));
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The kernel kills the process (SIGXFSZ) in the middle of writing the temporary file:
        // nothing of the program runs after that point.
        const rlimit limit{4096, 4096};
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        setrlimit(RLIMIT_FSIZE, &limit);
        m_Doc->Save();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(Read("doc.hv"), kDoc);
    // The temporary file had no name yet: nothing is left beside the document.
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.hv"});
}

} // namespace
} // namespace hv::test

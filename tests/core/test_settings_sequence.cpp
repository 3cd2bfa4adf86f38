#include "TempDir.h"
#include "platform/Clock.h"
#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

using namespace hv;
namespace fs = std::filesystem;

namespace {

constexpr const char* MainKey = "Software\\K.Amsel\\Hollyvine";
constexpr const char* WindowKey = "Software\\K.Amsel\\Hollyvine\\Window";
constexpr const char* ToolBarKey = "Software\\K.Amsel\\Hollyvine\\ToolBar";
constexpr const char* FileKey = "Software\\K.Amsel\\Hollyvine\\File";

class TFakeFonts final : public TFontQuery {
public:
    explicit TFakeFonts(std::set<std::string> installed = {}) : m_Installed(std::move(installed)) {}
    bool IsInstalled(std::string_view family) const override {
        ++Questions;
        return m_Installed.contains(std::string(family));
    }
    std::string DefaultUiFamily() const override { return "Noto Sans CJK JP"; }
    mutable int Questions = 0;

private:
    std::set<std::string> m_Installed;
};

class SettingsTest : public ::testing::Test {
protected:
    TMemoryRegistryStore m_Store;
    TFakeFonts m_Fonts;
};

TEST_F(SettingsTest, AFreshInstallationGetsEveryDefaultIntoTheStore) {
    TSettings settings(m_Store, &m_Fonts);
    EXPECT_EQ(settings.Get(opt::Main::TrayIcon), 1);
    EXPECT_TRUE(settings.Get(opt::Main::SortFolder));
    EXPECT_EQ(settings.Get(opt::ExportHtml::BGColor), 16777215);
    EXPECT_EQ(settings.Get(opt::ToolBar::FolderBar), "1,173,2");
    EXPECT_EQ(settings.Get(opt::Window::MemoFont), "00,09,Noto Sans CJK JP");
    settings.End();
    std::size_t stored = 0;
    for (const TSettingsTableInfo& info : SettingsTables) {
        stored += m_Store.ValueNames(info.KeyPath).size();
    }
    EXPECT_EQ(stored, std::size(OptionDefaults));
    EXPECT_EQ(m_Store.ReadValue(MainKey, "SortFolder"), TRegValue::DWord(1));
    EXPECT_EQ(m_Store.ReadValue(ToolBarKey, "ViewBar"), TRegValue::String("1,70,60"));
    EXPECT_TRUE(m_Store.KeyExists(FileKey));
}

TEST_F(SettingsTest, StoredValuesWinAndKeepTheirRegistryKind) {
    m_Store.WriteValue(MainKey, "AutoSave", TRegValue::String("No"));
    m_Store.WriteValue(MainKey, "SortFolder", TRegValue::DWord(0));
    m_Store.WriteValue(MainKey, "Hour24", TRegValue::DWord(0xFFFFFFFF));
    m_Store.WriteValue(MainKey, "StartWithFile", TRegValue::String("-1"));
    m_Store.WriteValue(MainKey, "YearTwoDigit", TRegValue::DWord(2));
    m_Store.WriteValue(MainKey, "trayicon", TRegValue::DWord(2)); // any letter case
    m_Store.WriteValue(MainKey, "SortType", TRegValue::Other(7, "x"));
    m_Store.WriteValue(WindowKey, "Unknown", TRegValue::Binary("\x01"));
    TSettings settings(m_Store, &m_Fonts);
    EXPECT_FALSE(settings.Get(opt::Main::AutoSave));
    EXPECT_FALSE(settings.Get(opt::Main::SortFolder));
    EXPECT_TRUE(settings.Get(opt::Main::Hour24));
    EXPECT_TRUE(settings.Get(opt::Main::StartWithFile));
    EXPECT_TRUE(settings.Get(opt::Main::YearTwoDigit));
    EXPECT_EQ(settings.Key(opt::Main::SortFolder).Kind(), THashKeyKind::Integer);
    EXPECT_EQ(settings.Get(opt::Main::TrayIcon), 2);
    EXPECT_EQ(settings.Get(opt::Main::SortType), 0); // a type the tables do not read keeps the default
    EXPECT_EQ(settings.Table(TSettingsTable::Window)["Unknown"].AsBinary(), "\x01");
    settings.End();
    EXPECT_EQ(m_Store.ReadValue(MainKey, "SortType"), TRegValue::Other(7, "x"));
    EXPECT_EQ(m_Store.ReadValue(MainKey, "AutoSave"), TRegValue::String("No"));
}

TEST_F(SettingsTest, NoKeyIsCreatedOnReadingAfterStart) {
    TSettings settings(m_Store, &m_Fonts);
    EXPECT_THROW(settings.Table(TSettingsTable::Main).GetKey("NoSuchOption"), EHashError);
}

TEST_F(SettingsTest, WindowPositionsLeaveTheTableButStayInTheStore) {
    m_Store.WriteValue(WindowKey, "FindDlgPos", TRegValue::String("1,2"));
    m_Store.WriteValue(WindowKey, "ImpHtmlDlgRect", TRegValue::String("1,2,3,4"));
    m_Store.WriteValue(WindowKey, "Rect", TRegValue::String("5,6,700,500,1"));
    TSettings settings(m_Store, &m_Fonts);
    THash& window = settings.Table(TSettingsTable::Window);
    EXPECT_FALSE(window.Exists("FindDlgPos"));
    EXPECT_FALSE(window.Exists("ImpHtmlDlgRect"));
    EXPECT_TRUE(window.Exists("Rect"));
    m_Store.WriteValue(WindowKey, "FindDlgPos", TRegValue::String("30,40")); // the dialog closes
    settings.End();
    EXPECT_EQ(m_Store.ReadValue(WindowKey, "FindDlgPos"), TRegValue::String("30,40"));
}

TEST_F(SettingsTest, TheOldKeyIsMovedAndObsoleteValuesGo) {
    m_Store.WriteValue("Software\\K.Amsel\\Holly Vine", "SortType", TRegValue::DWord(2));
    m_Store.WriteValue("Software\\K.Amsel\\Holly Vine", "SingleClick", TRegValue::DWord(1));
    m_Store.WriteValue("Software\\K.Amsel\\Holly Vine\\Window", "TreeWidth", TRegValue::DWord(200));
    m_Store.WriteValue("Software\\K.Amsel\\Holly Vine\\Window", "ViewHeight", TRegValue::DWord(1));
    m_Store.WriteValue(ToolBarKey, "ShowToolBar", TRegValue::DWord(1));
    m_Store.WriteValue(ToolBarKey, "Flat", TRegValue::DWord(0));
    TSettings settings(m_Store, &m_Fonts);
    EXPECT_FALSE(m_Store.KeyExists("Software\\K.Amsel\\Holly Vine"));
    EXPECT_EQ(settings.Get(opt::Main::SortType), 2);
    EXPECT_EQ(settings.Get(opt::Window::TreeWidth), 200);
    EXPECT_FALSE(settings.Get(opt::ToolBar::Flat));
    for (const auto& [path, name] :
         {std::pair{MainKey, "SingleClick"}, {WindowKey, "ViewHeight"}, {ToolBarKey, "ShowToolBar"}}) {
        EXPECT_FALSE(m_Store.ValueExists(path, name)) << name;
        EXPECT_FALSE(settings.Table(TSettingsTable::Main).Exists(name)) << name;
    }
}

TEST_F(SettingsTest, TheEndWritesChangedValuesAndLeavesOthersAsTheStoreHasThem) {
    m_Store.WriteValue(MainKey, "SortType", TRegValue::DWord(1));
    TSettings settings(m_Store, &m_Fonts);
    settings.Set(opt::Main::AutoSave, true);
    settings.Set(opt::Main::RecentFiles, std::string("/a.hv"));
    settings.Set(opt::Window::TreeWidth, 120); // written, but unchanged
    // Another running copy stores values meanwhile.
    m_Store.WriteValue(MainKey, "SortType", TRegValue::DWord(2));
    m_Store.WriteValue(WindowKey, "TreeWidth", TRegValue::DWord(300));
    m_Store.WriteValue(MainKey, "RecentFiles", TRegValue::String("/other.hv"));
    settings.End();
    EXPECT_EQ(m_Store.ReadValue(MainKey, "AutoSave"), TRegValue::DWord(1));
    EXPECT_EQ(m_Store.ReadValue(MainKey, "RecentFiles"), TRegValue::String("/a.hv"));
    EXPECT_EQ(m_Store.ReadValue(MainKey, "SortType"), TRegValue::DWord(2));
    EXPECT_EQ(m_Store.ReadValue(WindowKey, "TreeWidth"), TRegValue::DWord(300));
}

TEST(MemoFontTest, NamesTheFirstInstalledFont) {
    using TInstalled = std::set<std::string>;
    EXPECT_EQ(MemoFontDefault(TFakeFonts(TInstalled{"MS UI Gothic", "ＭＳ Ｐゴシック"})), "00,09,MS UI Gothic");
    EXPECT_EQ(MemoFontDefault(TFakeFonts(TInstalled{"MS UI Gothic"})), "00,09,MS UI Gothic");
    EXPECT_EQ(MemoFontDefault(TFakeFonts(TInstalled{"ＭＳ Ｐゴシック"})), "00,09,ＭＳ Ｐゴシック");
    EXPECT_EQ(MemoFontDefault(TFakeFonts()), "00,09,Noto Sans CJK JP");
}

TEST_F(SettingsTest, AStoredMemoFontSparesTheFontQuestion) {
    m_Store.WriteValue(WindowKey, "MemoFont", TRegValue::String("01,12,IPAGothic"));
    TSettings settings(m_Store, &m_Fonts);
    EXPECT_EQ(m_Fonts.Questions, 0);
    EXPECT_EQ(settings.Get(opt::Window::MemoFont), "01,12,IPAGothic");
}

TEST(PruneTest, KeepsEntriesOfTheLast28DaysAndRemovesOldAndUnreadableOnes) {
    const auto kept = [](const char* text) {
        TMemoryRegistryStore store;
        store.WriteValue(FileKey, "/home/me/doc.hv", TRegValue::String(text));
        TRegHash file(store, FileKey);
        PruneFileTable(file, EncodeDateTime(2024, 3, 30, 23, 59));
        return store.ValueExists(FileKey, "/home/me/doc.hv");
    };
    // Today, 28 days ago, in the future, leading zeros, no line end, line feeds only.
    for (const char* text : {"2024/3/30\r\nSelected=2\r\n", "2024/3/2\r\n", "2024/4/10\r\n", "2024/03/09\r\n",
                             "2024/3/20", "2024/3/20\nCollapsed=1\n"}) {
        EXPECT_TRUE(kept(text)) << text;
    }
    // 29 days ago, empty, no date, an impossible date, dashes, text after the date.
    for (const char* text : {"2024/3/1\r\nSelected=2\r\n", "", "Selected=1\r\n", "2024/2/30\r\n", "2024-3-20\r\n",
                             "2024/3/20 10:00\r\n"}) {
        EXPECT_FALSE(kept(text)) << text;
    }
}

TEST_F(SettingsTest, TheEndPrunesTheFileTableByTheClock) {
    m_Store.WriteValue(FileKey, "/a.hv", TRegValue::String("2024/1/1\r\n"));
    m_Store.WriteValue(FileKey, "/A.hv", TRegValue::String("2024/3/29\r\n"));
    TTestClock clock(EncodeDateTime(2024, 3, 30));
    TScopedClock scoped(clock);
    TSettings settings(m_Store, &m_Fonts);
    settings.File().Open();
    EXPECT_EQ(settings.File()["/A.hv"].AsString(), "2024/3/29\r\n"); // paths differing in case differ
    settings.File().Close();
    settings.End();
    EXPECT_EQ(m_Store.ValueNames(FileKey), std::vector<std::string>{"/A.hv"});
}

TEST(RemoveUserSettingsTest, DeletesTheKeyTreeAndReportsTheUser) {
    TMemoryRegistryStore store;
    store.WriteValue(std::string(MainKey) + "\\Find", "Range", TRegValue::DWord(1));
    store.WriteValue("Software\\Other", "Keep", TRegValue::DWord(1));
    EXPECT_EQ(RemoveUserSettings(store, "tester"), "\ttester");
    EXPECT_FALSE(store.KeyExists(MainKey));
    EXPECT_TRUE(store.KeyExists("Software\\K.Amsel"));
    EXPECT_TRUE(store.ValueExists("Software\\Other", "Keep"));
    EXPECT_EQ(RemoveUserSettings(store, "tester"), std::nullopt);
    EXPECT_EQ(RemovedSettingsMessage({"\ttester"}),
              "レジストリ内の情報の削除が完了しました。ファイル Hollyvine.exe を削除して下さい。\r\n\ttester");
}

TEST(RemoveUserSettingsTest, RemovesTheStoreFileWhenNothingElseIsInIt) {
    const test::TTempDir dir("hv_remove");
    const std::string path = dir.PathOf("registry.reg");
    {
        TFileRegistryStore store(path);
        TFakeFonts fonts;
        TSettings settings(store, &fonts);
        settings.End();
    }
    TFileRegistryStore store(path);
    EXPECT_TRUE(RemoveUserSettings(store, CurrentUserName()).has_value());
    EXPECT_FALSE(fs::exists(path));
}

} // namespace

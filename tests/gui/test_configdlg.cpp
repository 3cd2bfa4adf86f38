#include "FakeLaunchers.h"
#include "GuiTestSupport.h"
#include "PropTestSupport.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/TreeButtonStyle.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "platform/Clock.h"
#include "search/FindDlg.h"
#include "search/SearchWindows.h"
#include "settings/ConfigCommand.h"
#include "settings/ConfigDlg.h"
#include "settings/Settings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

using hv::TConfigDlg;
using hv::THVWindow;
using hv::test::Find;

namespace {

const hv::TDateTime kNow = hv::EncodeDateTime(2024, 3, 5, 12, 0);

// A window over settings in memory with a standing clock, showing the root folder with "alpha"
// (visited two days ago, due daily at 9:00), and the options dialog run by Drive.
struct TFixture {
    TFixture() : Clock(kNow), ScopedClock(Clock), Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        Network.PhoneBook = {"Work", "Home", "Mobile"};
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
        Window->ConfigCommand().SetNetwork(&Network);
        hv::THVItem* alpha = Window->Document().Root().List().Add("alpha");
        alpha->SetURL("http://a.example/");
        alpha->SetLastVisited(kNow - 2);
        alpha->SetSchedule("W 1,2,3,4,5,6,7 9:00 1,0");
        Window->ItemList().ShowFolder(&Window->Document().Root());
    }
    // Runs the dialog from the menu entry with drive acting on it; Ran tells whether OK closed it.
    void Run(const std::function<void(TConfigDlg&)>& drive) {
        Window->ConfigCommand().SetDialogRunner([this, drive](TConfigDlg& dialog) {
            dialog.show();
            drive(dialog);
            Ran = dialog.result() == QDialog::Accepted;
            return Ran;
        });
        Window->ConfigCommand().actConfig->trigger();
    }
    QString DateText() const { return Window->ItemList().Model()->index(0, 2).data().toString(); }

    hv::TTestClock Clock;
    hv::TScopedClock ScopedClock;
    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    hv::test::TScriptedPrompts Prompts;
    hv::test::TFakeNetwork Network;
    std::unique_ptr<THVWindow> Window;
    bool Ran = false;
};

void Click(QWidget* dialog, const char* name) {
    auto* button = Find<QAbstractButton>(*dialog, name);
    QVERIFY2(button->isEnabled(), name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

} // namespace

class TConfigDlgTest : public QObject {
    Q_OBJECT

private slots:
    void fieldsShowTheStoredOptions() {
        TFixture f;
        f.Settings.Set(hv::opt::Main::HintHidePause, std::int32_t{5000});
        f.Settings.Set(hv::opt::Main::GrayItemTime, std::int32_t{1500});
        f.Settings.Set(hv::opt::Main::RestrictTime, std::string("0730-2215"));
        f.Settings.Set(hv::opt::Main::PhoneEntry, std::string("Mobile"));
        f.Settings.Set(hv::opt::Window::ActiveConfigPage, std::int32_t{3});
        TConfigDlg dialog(f.Settings, f.Window->Document().RecentFiles(), &f.Network);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("設定"));
        QCOMPARE(dialog.Pages()->currentIndex(), 3);
        QCOMPARE(Find<QLineEdit>(dialog, "edtGrayItemTime")->displayText(), QStringLiteral("001日 01時間 00分"));
        QCOMPARE(Find<QSlider>(dialog, "trbHintHidePause")->value(), 50);
        QCOMPARE(Find<QLabel>(dialog, "lblHintHidePause")->text(), QStringLiteral("5.0 秒"));
        QCOMPARE(Find<QLineEdit>(dialog, "edtStartHour")->displayText(), QStringLiteral("07"));
        QCOMPARE(Find<QLineEdit>(dialog, "edtEndMinute")->displayText(), QStringLiteral("15"));
        auto* phone = Find<QTreeWidget>(dialog, "lstPhoneEntry");
        QCOMPARE(phone->topLevelItemCount(), 3);
        QCOMPARE(phone->topLevelItem(0)->text(0), QStringLiteral("Home"));
        QCOMPARE(phone->currentItem()->text(0), QStringLiteral("Mobile"));
        // CheckRasConnect is off: the entries cannot be chosen.
        QVERIFY(!phone->isEnabled());
        QTest::keyClick(Find<QSlider>(dialog, "trbHintHidePause"), Qt::Key_Left);
        QCOMPARE(Find<QLabel>(dialog, "lblHintHidePause")->text(), QStringLiteral("4.9 秒"));
    }

    void okStoresEveryPageAndTheWindowFollows() {
        TFixture f;
        QCOMPARE(f.DateText(), QStringLiteral("24/03/03(日) 12:00"));
        f.Run([&](TConfigDlg& dialog) {
            dialog.SetColorChooser([](const QColor&, QWidget*) { return std::optional<QColor>(QColor(0, 128, 0)); });
            dialog.SetFontChooser([](const QFont&, QWidget*) {
                QFont font(QStringLiteral("Noto Sans"), 12);
                font.setBold(true);
                return std::optional<QFont>(font);
            });
            dialog.Pages()->setCurrentIndex(TConfigDlg::pgAccess);
            Click(&dialog, "rdgCheckRasConnect_1");
            auto* phone = Find<QTreeWidget>(dialog, "lstPhoneEntry");
            QTest::mouseClick(phone->viewport(), Qt::LeftButton, {},
                              phone->visualItemRect(phone->topLevelItem(2)).center());
            Click(&dialog, "rdgAccessRestriction_2");
            auto* hour = Find<QLineEdit>(dialog, "edtEndHour");
            hour->selectAll();
            QTest::keyClicks(hour, QStringLiteral("2a4"));
            dialog.Pages()->setCurrentIndex(TConfigDlg::pgTreeView);
            Click(&dialog, "chkShowTreeBtn");
            dialog.Pages()->setCurrentIndex(TConfigDlg::pgListView);
            auto* gray = Find<QLineEdit>(dialog, "edtGrayItemTime");
            gray->setFocus();
            gray->setCursorPosition(0);
            QTest::keyClicks(gray, QStringLiteral("0003090"));
            Click(&dialog, "btnNeedToVisitColor");
            dialog.Pages()->setCurrentIndex(TConfigDlg::pgDate);
            Click(&dialog, "rdgDateStrType_1");
            Find<QLineEdit>(dialog, "edtDateSeparator")->clear();
            dialog.Pages()->setCurrentIndex(TConfigDlg::pgTaskBar);
            Click(&dialog, "rdgTrayIcon_0");
            QVERIFY(!Find<QCheckBox>(dialog, "chkHideTaskBar")->isEnabled());
            dialog.Pages()->setCurrentIndex(TConfigDlg::pgImport);
            Click(&dialog, "rdgImpBrowserNNFirst_1");
            dialog.Pages()->setCurrentIndex(TConfigDlg::pgOthers);
            Find<QSlider>(dialog, "trbHintHidePause")->setValue(35);
            QCOMPARE(Find<QLabel>(dialog, "lblHintHidePause")->text(), QStringLiteral("3.5 秒"));
            Click(&dialog, "btnMemoFont");
            Click(&dialog, "chkAutoSave");
            Click(&dialog, "btnOK");
        });
        QVERIFY(f.Ran);
        QCOMPARE(f.Settings.Get(hv::opt::Main::CheckRasConnect), true);
        QCOMPARE(f.Settings.Get(hv::opt::Main::PhoneEntry), std::string("Work"));
        QCOMPARE(f.Settings.Get(hv::opt::Main::AccessRestriction), 2);
        QCOMPARE(f.Settings.Get(hv::opt::Main::RestrictTime), std::string("0800-2400"));
        QCOMPARE(f.Settings.Get(hv::opt::Window::ShowTreeBtn), false);
        QCOMPARE(f.Settings.Get(hv::opt::Main::GrayItemTime), 1890);
        QCOMPARE(f.Settings.Get(hv::opt::Window::NeedToVisitColor), 0x008000);
        QCOMPARE(f.Settings.Get(hv::opt::Main::DateStrType), 1);
        QCOMPARE(f.Settings.Get(hv::opt::Main::DateSeparator), std::string());
        QCOMPARE(f.Settings.Get(hv::opt::Main::TrayIcon), 0);
        QCOMPARE(f.Settings.Get(hv::opt::Main::ImpBrowserNNFirst), true);
        QCOMPARE(f.Settings.Get(hv::opt::Main::HintHidePause), 3500);
        QCOMPARE(f.Settings.Get(hv::opt::Window::MemoFont), std::string("01,12,Noto Sans"));
        QCOMPARE(f.Settings.Get(hv::opt::Main::AutoSave), true);
        QCOMPARE(f.Settings.Get(hv::opt::Window::ActiveConfigPage), 7);
        // The window shows the new options at once.
        QCOMPARE(f.DateText(), QStringLiteral("2日前(3/3)の 12:00"));
        QCOMPARE(f.Window->ItemList().Model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
        auto* style = dynamic_cast<hv::TTreeButtonStyle*>(f.Window->TreeView()->style());
        QVERIFY(style != nullptr && !style->ShowButtons);
        QCOMPARE(f.Window->MemoBox()->font().pointSize(), 12);
        QVERIFY(f.Window->MemoBox()->font().bold());
    }

    void cancelKeepsOnlyThePageAndTheDeletedFiles() {
        TFixture f;
        f.Window->Document().RecentFiles().SetStoredText("/tmp/a.hv;/tmp/b.hv;/tmp/c.hv");
        f.Settings.Set(hv::opt::Window::ActiveConfigPage, std::int32_t{4});
        f.Run([&](TConfigDlg& dialog) {
            auto* list = Find<QTreeWidget>(dialog, "lstRecentFiles");
            QCOMPARE(list->topLevelItemCount(), 3);
            QVERIFY(list->selectedItems().isEmpty());
            // Each click adds its entry to the selection.
            for (const int row : {0, 2}) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->topLevelItem(row)).center());
            }
            Click(&dialog, "btnDeleteRecent");
            QCOMPARE(list->topLevelItemCount(), 1);
            QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("/tmp/b.hv"));
            dialog.Pages()->setCurrentIndex(TConfigDlg::pgDate);
            Click(&dialog, "rdgDateStrType_1");
            Click(&dialog, "btnCancel");
        });
        QVERIFY(!f.Ran);
        QCOMPARE(f.Window->Document().RecentFiles().StoredText(), std::string("/tmp/b.hv"));
        QCOMPARE(f.Settings.Get(hv::opt::Main::DateStrType), 0);
        QCOMPARE(f.Settings.Get(hv::opt::Window::ActiveConfigPage), 3);
        QCOMPARE(f.DateText(), QStringLiteral("24/03/03(日) 12:00"));
    }

    void disabledEntriesStillGoInAndOtherRules() {
        TFixture f;
        f.Settings.Set(hv::opt::Main::CheckRasConnect, true);
        f.Settings.Set(hv::opt::Main::PhoneEntry, std::string("Home"));
        f.Run([&](TConfigDlg& dialog) {
            Click(&dialog, "rdgCheckRasConnect_0");
            QVERIFY(!Find<QTreeWidget>(dialog, "lstPhoneEntry")->isEnabled());
            Click(&dialog, "chkListHotTrack");
            QVERIFY(!Find<QCheckBox>(dialog, "chkSingleClickOpen")->isEnabled());
            Click(&dialog, "btnOK");
        });
        QCOMPARE(f.Settings.Get(hv::opt::Main::CheckRasConnect), false);
        QCOMPARE(f.Settings.Get(hv::opt::Main::PhoneEntry), std::string("Home"));
        QCOMPARE(f.Settings.Get(hv::opt::Window::ListHotTrack), false);
    }

    void withoutAPhoneBookTheStoredEntryStays() {
        TFixture f;
        f.Network.PhoneBook.clear();
        f.Settings.Set(hv::opt::Main::CheckRasConnect, true);
        f.Settings.Set(hv::opt::Main::PhoneEntry, std::string("Office"));
        f.Run([&](TConfigDlg& dialog) {
            QVERIFY(!Find<QTreeWidget>(dialog, "lstPhoneEntry")->isEnabled());
            Click(&dialog, "btnOK");
        });
        QCOMPARE(f.Settings.Get(hv::opt::Main::PhoneEntry), std::string("Office"));
        QVERIFY(f.Prompts.Seen.isEmpty());
    }

    void openFindWindowFollowsHotTracking() {
        TFixture f;
        f.Settings.Set(hv::opt::Window::ListHotTrackStyle, std::int32_t{1});
        f.Window->SearchWindows().ShowFindDlg();
        QTreeView* list = f.Window->SearchWindows().FindDlg()->List();
        QVERIFY(list->hasMouseTracking());
        f.Run([&](TConfigDlg& dialog) {
            Click(&dialog, "chkListHotTrack");
            Click(&dialog, "btnOK");
        });
        QVERIFY(!list->hasMouseTracking());
        QVERIFY(!list->viewport()->testAttribute(Qt::WA_Hover));
    }
};

QTEST_MAIN(TConfigDlgTest)
#include "test_configdlg.moc"

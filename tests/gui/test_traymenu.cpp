#include "FakeLaunchers.h"
#include "GuiTestSupport.h"
#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/TreeMenu.h"
#include "model/HVFolder.h"
#include "model/TreeEdits.h"
#include "platform/Clock.h"
#include "settings/Settings.h"
#include "tray/TrayIcon.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <utility>

using hv::THVFolder;
using hv::THVItem;
using hv::THVWindow;
using hv::TTrayIcon;
using hv::TTreeMenu;

namespace {

const hv::TDateTime kNow = hv::EncodeDateTime(2024, 3, 5, 12, 0);

// The entries of a menu as "|"-joined captions, a separator as "-", a disabled entry with "~".
QString Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions()) {
        captions << (action->isSeparator() ? QStringLiteral("-")
                                           : (action->isEnabled() ? QString() : QStringLiteral("~")) + action->text());
    }
    return captions.join(QLatin1Char('|'));
}

QAction* Entry(const QMenu* menu, const char* caption) {
    const QList<QAction*> actions = menu->actions();
    const auto it = std::find_if(actions.begin(), actions.end(),
                                 [&](const QAction* action) { return action->text() == QString::fromUtf8(caption); });
    return it != actions.end() ? *it : nullptr;
}

// Opens a sub-menu as the user would and closes it again.
void Unfold(QMenu* menu) {
    menu->popup(QPoint(0, 0));
    menu->hide();
}

// A window whose root holds the folders News (empty) and "Tech & Co" (zeta, kernel) and the items
// beta, Alpha and gamma; gamma has a web command that records the access and a program command.
struct TFixture {
    explicit TFixture(const std::function<void(hv::TSettings&)>& prepare = {})
        : Clock(kNow), ScopedClock(Clock), Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        if (prepare) {
            prepare(Settings);
        }
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
        Network.Connected = true;
        Window->ItemList().SetLaunchers(&Shell, &Network);
        THVFolder& root = Window->Document().Root();
        News = Window->TreeEdits().AddFolder(root, "News", false);
        Tech = Window->TreeEdits().AddFolder(root, "Tech & Co", false);
        Add(*Tech, "zeta", "https://z.example/");
        Add(*Tech, "kernel", "https://kernel.example/");
        Add(root, "beta", "https://b.example/");
        Add(root, "Alpha", "https://a.example/");
        THVItem& gamma = Add(root, "gamma", "https://g.example/");
        gamma.GetCommands().Add() = hv::TCmdItem{"検索", "https://search.example/?q=g", true};
        gamma.GetCommands().Add() = hv::TCmdItem{"ツール", "no-such-program-here --flag", false};
        Window->FolderTree().OpenFolderNow(&root);
    }
    THVItem& Add(THVFolder& folder, const char* name, const char* url) {
        THVItem* item = folder.List().Add(name);
        item->SetURL(url);
        return *item;
    }
    THVItem* Item(THVFolder& folder, const char* name) { return folder.List().FindByName(name); }
    TTreeMenu& Menu() { return Window->TreeMenu(); }
    // The folder list menu, opened once.
    QMenu* FolderList() {
        Unfold(Menu().mniFolderList);
        return Menu().mniFolderList;
    }
    THVFolder& Root() { return Window->Document().Root(); }

    hv::TTestClock Clock;
    hv::TScopedClock ScopedClock;
    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    hv::test::TScriptedPrompts Prompts;
    hv::test::TFakeShell Shell;
    hv::test::TFakeNetwork Network;
    std::unique_ptr<THVWindow> Window;
    THVFolder* News = nullptr;
    THVFolder* Tech = nullptr;
};

} // namespace

class TTrayMenuTest : public QObject {
    Q_OBJECT

private slots:
    void folderMenuListsTheTreeInOrder() {
        TFixture f;
        QMenu* list = f.FolderList();
        // The root is the selected folder: its open entry is there but disabled. Items come sorted.
        QCOMPARE(Captions(list),
                 QStringLiteral("~ルートフォルダを開く(&O)|-|News(&1)|Tech && Co(&2)|Alpha(&3)|beta(&4)|gamma(&5)"));
        QCOMPARE(Entry(list, "Alpha(&3)")->statusTip(), QStringLiteral("https://a.example/"));
        f.Window->FolderTree().OpenFolderNow(f.Tech);
        Unfold(list);
        list->actions().first()->trigger();
        QCOMPARE(f.Window->FolderTree().SelectedFolder(), &f.Root());
    }

    void subMenusAreFilledOnceWhenTheyOpen() {
        TFixture f;
        QMenu* list = f.FolderList();
        QMenu* news = Entry(list, "News(&1)")->menu();
        QMenu* tech = Entry(list, "Tech && Co(&2)")->menu();
        QCOMPARE(Captions(tech), QStringLiteral("開く(&O)|-"));
        Unfold(tech);
        Unfold(tech);
        QCOMPARE(Captions(tech), QStringLiteral("開く(&O)|-|kernel(&1)|zeta(&2)"));
        // The folder's stored items follow the item list's order.
        QCOMPARE(QString::fromStdString(f.Tech->List().Items(0)->GetName()), QStringLiteral("kernel"));
        // An empty folder keeps only its open entry.
        Unfold(news);
        QCOMPARE(Captions(news), QStringLiteral("開く(&O)"));
        news->actions().first()->trigger();
        QCOMPARE(f.Window->FolderTree().SelectedFolder(), f.News);
    }

    void openingAnItemRecordsTheAccess() {
        TFixture f;
        QMenu* list = f.FolderList();
        THVItem* alpha = f.Item(f.Root(), "Alpha");
        QSignalSpy changed(f.Window->ItemList().Model(), &QAbstractItemModel::dataChanged);
        Entry(list, "Alpha(&3)")->trigger();
        QCOMPARE(f.Shell.Calls.size(), std::size_t{1});
        QCOMPARE(f.Shell.Calls.front().first, std::string("https://a.example/"));
        QCOMPARE(alpha->GetLastVisited(), kNow);
        QVERIFY(f.Window->Document().Modified());
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.first().at(0).value<QModelIndex>().row(), f.Window->ItemList().Model()->IndexOf(alpha).row());
        // A launch that fails leaves the access time alone.
        f.Shell.Result = 2;
        Unfold(list);
        Entry(list, "beta(&4)")->trigger();
        QCOMPARE(f.Item(f.Root(), "beta")->GetLastVisited(), hv::TDateTime{0});
    }

    void itemsWithCommandsBecomeSubMenus() {
        TFixture f;
        QMenu* list = f.FolderList();
        QMenu* gamma = Entry(list, "gamma(&5)")->menu();
        QVERIFY(gamma != nullptr);
        QCOMPARE(Captions(gamma), QStringLiteral("開く(&O)|検索|ツール"));
        QCOMPARE(gamma->actions().at(0)->statusTip(), QStringLiteral("https://g.example/"));
        QCOMPARE(gamma->actions().at(2)->statusTip(), QStringLiteral("no-such-program-here --flag"));
        // A web address shows the open-item picture; a program not on the path none.
        QCOMPARE(gamma->actions().at(1)->icon().cacheKey(), f.Window->ItemList().actOpenItem->icon().cacheKey());
        QVERIFY(gamma->actions().at(2)->icon().isNull());
        // The web command records the access; once it no longer asks to, it does not.
        THVItem* item = f.Item(f.Root(), "gamma");
        gamma->actions().at(1)->trigger();
        QCOMPARE(f.Shell.Calls.back().first, std::string("https://search.example/?q=g"));
        QCOMPARE(item->GetLastVisited(), kNow);
        item->SetLastVisited(0);
        item->GetCommands().Items(0).UpdateLastVisited = false;
        Unfold(list);
        Entry(list, "gamma(&5)")->menu()->actions().at(1)->trigger();
        QCOMPARE(f.Shell.Calls.size(), std::size_t{2});
        QCOMPARE(item->GetLastVisited(), hv::TDateTime{0});
    }

    void freedEntriesDoNothing() {
        TFixture f;
        QMenu* list = f.FolderList();
        QMenu* tech = Entry(list, "Tech && Co(&2)")->menu();
        Unfold(tech);
        QAction* alpha = Entry(list, "Alpha(&3)");
        QAction* kernel = Entry(tech, "kernel(&1)");
        QMenu* gamma = Entry(list, "gamma(&5)")->menu();
        f.Window->TreeEdits().DeleteItems({f.Item(f.Root(), "Alpha"), f.Item(f.Root(), "gamma")});
        QVERIFY(f.Window->TreeEdits().DeleteFolder(*f.Tech));
        for (QAction* entry : {alpha, kernel, gamma->actions().at(0), tech->actions().at(0)}) {
            entry->trigger();
        }
        QVERIFY(f.Shell.Calls.empty());
        QCOMPARE(f.Window->FolderTree().SelectedFolder(), &f.Root());
        // The command itself was copied: it still runs, but records nothing.
        gamma->actions().at(1)->trigger();
        QCOMPARE(f.Shell.Calls.size(), std::size_t{1});
    }

    void itemFreedWhileTheLaunchAsks() {
        TFixture f([](hv::TSettings& settings) { settings.Set(hv::opt::Main::AccessRestriction, std::int32_t{1}); });
        QMenu* list = f.FolderList();
        THVItem* alpha = f.Item(f.Root(), "Alpha");
        f.Prompts.YesNoAnswers.push_back(true);
        const auto record = f.Prompts.OnRecord;
        f.Prompts.OnRecord = [&](const hv::test::TFakePrompts::TRecord& asked) {
            record(asked);
            if (alpha != nullptr) {
                f.Window->TreeEdits().DeleteItems({std::exchange(alpha, nullptr)});
            }
        };
        Entry(list, "Alpha(&3)")->trigger();
        QCOMPARE(f.Prompts.Seen.size(), 1);
        QCOMPARE(f.Shell.Calls.size(), std::size_t{1});
        QCOMPARE(f.Shell.Calls.front().first, std::string("https://a.example/"));
    }

    void entriesGoOnceTheMenuHasClosed() {
        TFixture f;
        QMenu* list = f.FolderList();
        QPointer<QAction> alpha = Entry(list, "Alpha(&3)");
        f.Menu().ScheduleRelease();
        QVERIFY(!list->actions().isEmpty());
        QTRY_VERIFY(list->actions().isEmpty() && alpha.isNull());
    }

    void treePopupOpensOnlyAnotherFolder() {
        TFixture f([](hv::TSettings& settings) { settings.Set(hv::opt::Window::TreeRClickSelect, false); });
        f.Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
        auto& tree = f.Window->FolderTree();
        QMenu* popup = tree.TreeViewPopup;
        QMenu* list = f.Menu().mniTreeList;
        QCOMPARE(popup->actions().first(), list->menuAction());
        // What "リスト(&L)" holds each time the context menu opens; "~" when it cannot unfold.
        QString seen;
        connect(popup, &QMenu::aboutToShow, this, [&] {
            QTimer::singleShot(0, popup, [&] {
                seen = QStringLiteral("~");
                if (list->menuAction()->isEnabled()) {
                    Unfold(list);
                    seen = Captions(list);
                }
                popup->close();
            });
        });
        tree.OpenFolderNow(f.Tech);
        tree.OpenPopup({}, true);
        QCOMPARE(seen, QStringLiteral("kernel(&1)|zeta(&2)"));
        tree.OpenFolderNow(f.News);
        tree.OpenPopup({}, true);
        QCOMPARE(seen, QStringLiteral("~"));
        tree.OpenFolderNow(&f.Root());
        const QRect techRect = f.Window->TreeView()->visualRect(f.Window->FolderModel()->IndexOf(f.Tech));
        tree.OpenPopup(techRect.center(), false);
        QCOMPARE(seen, QStringLiteral("開く(&O)|-|kernel(&1)|zeta(&2)"));
    }

    void trayMenuFollowsModalWindows() {
        TFixture f;
        TTrayIcon& tray = f.Window->Tray();
        f.Window->show();
        tray.UpdateMenu();
        QCOMPARE(Captions(tray.TrayIconPopup), QStringLiteral("リスト(&L)|-|ファイルを開く(&O)...|最近開いたファイル|-|"
                                                              "~元のサイズに戻す(&R)|最小化(&N)|終了(&X)"));
        QCOMPARE(Captions(tray.mniTrayRecentFiles), QStringLiteral("~(なし)"));
        Unfold(tray.mniTrayList);
        QVERIFY(Captions(tray.mniTrayList).startsWith(QStringLiteral("~ルートフォルダを開く(&O)|-|News(&1)|")));
        QDialog dialog(f.Window.get());
        dialog.setModal(true);
        dialog.show();
        tray.UpdateMenu();
        QCOMPARE(Captions(tray.TrayIconPopup),
                 QStringLiteral("~リスト(&L)|-|~ファイルを開く(&O)...|~最近開いたファイル|-|"
                                "~元のサイズに戻す(&R)|最小化(&N)|~終了(&X)"));
        dialog.hide();
        f.Window->showMinimized();
        tray.UpdateMenu();
        QVERIFY(tray.actTrayRestore->isEnabled() && !tray.actTrayMinimize->isEnabled());
        // The tool tip is the caption, cut to 63 characters.
        f.Window->setWindowTitle(QStringLiteral("Hollyvine - ") + QString(70, QChar(0x3042)));
        QCOMPARE(tray.Icon()->toolTip().size(), 63);
    }

    void trayIconOnMinimizeAndRestore_data() {
        QTest::addColumn<int>("trayIcon");
        QTest::addColumn<bool>("hideTaskBar");
        QTest::addColumn<bool>("available");
        // The icon at start, while minimised and after restoring; whether the window left the task bar.
        QTest::addColumn<QString>("icon");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("never") << 0 << true << true << QStringLiteral("---") << false;
        QTest::newRow("always") << 1 << false << true << QStringLiteral("+++") << false;
        QTest::newRow("always, off the task bar") << 1 << true << true << QStringLiteral("+++") << true;
        QTest::newRow("while minimised") << 2 << false << true << QStringLiteral("-+-") << false;
        QTest::newRow("while minimised, off the task bar") << 2 << true << true << QStringLiteral("-+-") << true;
        QTest::newRow("no notification area") << 1 << true << false << QStringLiteral("+++") << false;
    }

    void trayIconOnMinimizeAndRestore() {
        QFETCH(int, trayIcon);
        QFETCH(bool, hideTaskBar);
        QFETCH(bool, available);
        QFETCH(QString, icon);
        QFETCH(bool, hidden);
        TFixture f([&](hv::TSettings& settings) {
            settings.Set(hv::opt::Main::TrayIcon, std::int32_t{trayIcon});
            settings.Set(hv::opt::Main::HideTaskBar, hideTaskBar);
        });
        TTrayIcon& tray = f.Window->Tray();
        tray.SetTrayAvailable(available);
        QString seen;
        const auto see = [&] { seen += tray.IconVisible() ? QLatin1Char('+') : QLatin1Char('-'); };
        f.Window->show();
        see();
        f.Window->showMinimized();
        see();
        QTest::qWait(20);
        QCOMPARE(f.Window->isVisible(), !hidden);
        QCOMPARE(tray.WindowHidden(), hidden);
        tray.RestoreWindow();
        see();
        QCOMPARE(seen, icon);
        QVERIFY(f.Window->isVisible() && !f.Window->isMinimized());
        // The options dialog's confirmation shows the icon exactly for TrayIcon 1.
        f.Settings.Set(hv::opt::Main::TrayIcon, std::int32_t{1});
        tray.ApplySettings();
        QVERIFY(tray.IconVisible());
        f.Settings.Set(hv::opt::Main::TrayIcon, std::int32_t{2});
        tray.ApplySettings();
        QVERIFY(!tray.IconVisible());
    }

    void restoringKeepsAMaximizedWindow() {
        TFixture f([](hv::TSettings& settings) { settings.Set(hv::opt::Main::HideTaskBar, true); });
        TTrayIcon& tray = f.Window->Tray();
        tray.SetTrayAvailable(true);
        f.Window->showMaximized();
        // A click on the icon while the window is up does not shrink it.
        tray.RestoreWindow();
        QVERIFY(f.Window->isMaximized());
        f.Window->showMinimized();
        QTRY_VERIFY(!f.Window->isVisible());
        tray.RestoreWindow();
        QVERIFY(f.Window->isVisible() && f.Window->isMaximized());
        // Taking the icon away while the window hides in the tray brings the window back.
        f.Window->showMinimized();
        QTRY_VERIFY(!f.Window->isVisible());
        f.Settings.Set(hv::opt::Main::TrayIcon, std::int32_t{0});
        tray.ApplySettings();
        QVERIFY(f.Window->isVisible());
    }
};

QTEST_MAIN(TTrayMenuTest)
#include "test_traymenu.moc"

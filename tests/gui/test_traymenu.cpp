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

#include <memory>
#include <utility>

using hv::THVFolder;
using hv::THVItem;
using hv::THVWindow;
using hv::TTrayIcon;
using hv::TTreeMenu;

namespace {

const hv::TDateTime kNow = hv::EncodeDateTime(2024, 3, 5, 12, 0);

// The entries of a menu as captions, a separator as "-", a disabled entry with a leading "~".
QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            captions << QStringLiteral("-");
        } else {
            captions << (action->isEnabled() ? QString() : QStringLiteral("~")) + action->text();
        }
    }
    return captions;
}

QAction* Entry(const QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions()) {
        if (action->text() == caption) {
            return action;
        }
    }
    return nullptr;
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
        hv::TCmdItem& web = gamma.GetCommands().Add();
        web.Title = "検索";
        web.CommandLine = "https://search.example/?q=g";
        web.UpdateLastVisited = true;
        hv::TCmdItem& tool = gamma.GetCommands().Add();
        tool.Title = "ツール";
        tool.CommandLine = "no-such-program-here --flag";
        Window->FolderTree().OpenFolderNow(&root);
    }
    THVItem& Add(THVFolder& folder, const char* name, const char* url) {
        THVItem* item = folder.List().Add(name);
        item->SetURL(url);
        return *item;
    }
    THVItem* Item(THVFolder& folder, const char* name) { return folder.List().FindByName(name); }
    TTreeMenu& Menu() { return Window->TreeMenu(); }
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
    void folderMenuListsTheTreeInOrder();
    void subMenusAreFilledOnceWhenTheyOpen();
    void itemsWithCommandsBecomeSubMenus();
    void openingAnItemRecordsTheAccess();
    void commandsRecordTheAccessOnlyWhenAsked();
    void freedEntriesDoNothing();
    void itemFreedWhileTheLaunchAsks();
    void entriesGoOnceTheMenuHasClosed();
    void treePopupOpensOnlyAnotherFolder();
    void itemMenuKeepsItsCommands();
    void trayMenuFollowsModalWindows();
    void trayIconOnMinimizeAndRestore_data();
    void trayIconOnMinimizeAndRestore();
    void noTrayKeepsTheWindowReachable();
    void restoringKeepsAMaximizedWindow();
    void hintFollowsTheCaption();
};

void TTrayMenuTest::folderMenuListsTheTreeInOrder() {
    TFixture f;
    QMenu* list = f.Menu().mniFolderList;
    Unfold(list);
    // The root is the selected folder: its open entry is there but disabled. Items come sorted.
    QCOMPARE(Captions(list),
             QStringList({QStringLiteral("~ルートフォルダを開く(&O)"), QStringLiteral("-"), QStringLiteral("News(&1)"),
                          QStringLiteral("Tech && Co(&2)"), QStringLiteral("Alpha(&3)"), QStringLiteral("beta(&4)"),
                          QStringLiteral("gamma(&5)")}));
    QCOMPARE(Entry(list, QStringLiteral("Alpha(&3)"))->statusTip(), QStringLiteral("https://a.example/"));

    f.Window->FolderTree().OpenFolderNow(f.Tech);
    Unfold(list);
    QCOMPARE(Captions(list).first(), QStringLiteral("ルートフォルダを開く(&O)"));
    list->actions().first()->trigger();
    QCOMPARE(f.Window->FolderTree().SelectedFolder(), &f.Root());
}

void TTrayMenuTest::subMenusAreFilledOnceWhenTheyOpen() {
    TFixture f;
    QMenu* list = f.Menu().mniFolderList;
    Unfold(list);
    QMenu* news = Entry(list, QStringLiteral("News(&1)"))->menu();
    QMenu* tech = Entry(list, QStringLiteral("Tech && Co(&2)"))->menu();
    QCOMPARE(Captions(tech), QStringList({QStringLiteral("開く(&O)"), QStringLiteral("-")}));
    Unfold(tech);
    QCOMPARE(Captions(tech), QStringList({QStringLiteral("開く(&O)"), QStringLiteral("-"), QStringLiteral("kernel(&1)"),
                                          QStringLiteral("zeta(&2)")}));
    // The folder's stored items follow the item list's order.
    QCOMPARE(QString::fromStdString(f.Tech->List().Items(0)->GetName()), QStringLiteral("kernel"));
    Unfold(tech);
    QCOMPARE(tech->actions().size(), 4);
    // An empty folder keeps only its open entry.
    Unfold(news);
    QCOMPARE(Captions(news), QStringList({QStringLiteral("開く(&O)")}));
    news->actions().first()->trigger();
    QCOMPARE(f.Window->FolderTree().SelectedFolder(), f.News);
}

void TTrayMenuTest::itemsWithCommandsBecomeSubMenus() {
    TFixture f;
    QMenu* list = f.Menu().mniFolderList;
    Unfold(list);
    QMenu* gamma = Entry(list, QStringLiteral("gamma(&5)"))->menu();
    QVERIFY(gamma != nullptr);
    QCOMPARE(Captions(gamma),
             QStringList({QStringLiteral("開く(&O)"), QStringLiteral("検索"), QStringLiteral("ツール")}));
    QCOMPARE(gamma->actions().at(0)->statusTip(), QStringLiteral("https://g.example/"));
    QCOMPARE(gamma->actions().at(1)->statusTip(), QStringLiteral("https://search.example/?q=g"));
    QCOMPARE(gamma->actions().at(2)->statusTip(), QStringLiteral("no-such-program-here --flag"));
    // A web address shows the open-item picture; a program not on the path none.
    const QIcon openIcon = f.Window->ItemList().actOpenItem->icon();
    QCOMPARE(gamma->actions().at(1)->icon().cacheKey(), openIcon.cacheKey());
    QVERIFY(gamma->actions().at(2)->icon().isNull());
}

void TTrayMenuTest::openingAnItemRecordsTheAccess() {
    TFixture f;
    QMenu* list = f.Menu().mniFolderList;
    Unfold(list);
    THVItem* alpha = f.Item(f.Root(), "Alpha");
    QSignalSpy changed(f.Window->ItemList().Model(), &QAbstractItemModel::dataChanged);
    Entry(list, QStringLiteral("Alpha(&3)"))->trigger();
    QCOMPARE(f.Shell.Calls.size(), std::size_t{1});
    QCOMPARE(f.Shell.Calls.front().first, std::string("https://a.example/"));
    QCOMPARE(alpha->GetLastVisited(), kNow);
    QVERIFY(f.Window->Document().Modified());
    QVERIFY(!changed.isEmpty());
    QCOMPARE(changed.first().at(0).value<QModelIndex>().row(), f.Window->ItemList().Model()->IndexOf(alpha).row());

    // A launch that fails leaves the access time alone.
    f.Shell.Result = 2;
    THVItem* beta = f.Item(f.Root(), "beta");
    Unfold(list);
    Entry(list, QStringLiteral("beta(&4)"))->trigger();
    QCOMPARE(beta->GetLastVisited(), hv::TDateTime{0});
}

void TTrayMenuTest::commandsRecordTheAccessOnlyWhenAsked() {
    TFixture f;
    QMenu* list = f.Menu().mniFolderList;
    Unfold(list);
    THVItem* gamma = f.Item(f.Root(), "gamma");
    QMenu* sub = Entry(list, QStringLiteral("gamma(&5)"))->menu();
    sub->actions().at(1)->trigger();
    QCOMPARE(f.Shell.Calls.back().first, std::string("https://search.example/?q=g"));
    QCOMPARE(gamma->GetLastVisited(), kNow);

    gamma->SetLastVisited(0);
    gamma->GetCommands().Items(0).UpdateLastVisited = false;
    Unfold(list);
    Entry(list, QStringLiteral("gamma(&5)"))->menu()->actions().at(1)->trigger();
    QCOMPARE(f.Shell.Calls.size(), std::size_t{2});
    QCOMPARE(gamma->GetLastVisited(), hv::TDateTime{0});
}

void TTrayMenuTest::freedEntriesDoNothing() {
    TFixture f;
    QMenu* list = f.Menu().mniFolderList;
    Unfold(list);
    QMenu* tech = Entry(list, QStringLiteral("Tech && Co(&2)"))->menu();
    Unfold(tech);
    QAction* alpha = Entry(list, QStringLiteral("Alpha(&3)"));
    QAction* kernel = Entry(tech, QStringLiteral("kernel(&1)"));
    QAction* openTech = tech->actions().first();
    QMenu* gamma = Entry(list, QStringLiteral("gamma(&5)"))->menu();
    f.Window->TreeEdits().DeleteItems({f.Item(f.Root(), "Alpha"), f.Item(f.Root(), "gamma")});
    QVERIFY(f.Window->TreeEdits().DeleteFolder(*f.Tech));
    alpha->trigger();
    kernel->trigger();
    gamma->actions().at(0)->trigger();
    openTech->trigger();
    QVERIFY(f.Shell.Calls.empty());
    QCOMPARE(f.Window->FolderTree().SelectedFolder(), &f.Root());
    // The command itself was copied: it still runs, but records nothing.
    gamma->actions().at(1)->trigger();
    QCOMPARE(f.Shell.Calls.size(), std::size_t{1});
}

void TTrayMenuTest::itemFreedWhileTheLaunchAsks() {
    TFixture f([](hv::TSettings& settings) { settings.Set(hv::opt::Main::AccessRestriction, std::int32_t{1}); });
    QMenu* list = f.Menu().mniFolderList;
    Unfold(list);
    THVItem* alpha = f.Item(f.Root(), "Alpha");
    f.Prompts.YesNoAnswers.push_back(true);
    const auto record = f.Prompts.OnRecord;
    f.Prompts.OnRecord = [&](const hv::test::TFakePrompts::TRecord& asked) {
        record(asked);
        if (alpha != nullptr) {
            f.Window->TreeEdits().DeleteItems({std::exchange(alpha, nullptr)});
        }
    };
    Entry(list, QStringLiteral("Alpha(&3)"))->trigger();
    QCOMPARE(f.Prompts.Seen.size(), 1);
    QCOMPARE(f.Shell.Calls.size(), std::size_t{1});
    QCOMPARE(f.Shell.Calls.front().first, std::string("https://a.example/"));
    QCOMPARE(f.Root().List().Count(), 2);
}

void TTrayMenuTest::entriesGoOnceTheMenuHasClosed() {
    TFixture f;
    QMenu* list = f.Menu().mniFolderList;
    Unfold(list);
    QPointer<QAction> alpha = Entry(list, QStringLiteral("Alpha(&3)"));
    f.Menu().ScheduleRelease();
    QVERIFY(!list->actions().isEmpty());
    QTRY_VERIFY(list->actions().isEmpty());
    QTRY_VERIFY(alpha.isNull());
}

void TTrayMenuTest::treePopupOpensOnlyAnotherFolder() {
    TFixture f([](hv::TSettings& settings) { settings.Set(hv::opt::Window::TreeRClickSelect, false); });
    f.Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    auto& tree = f.Window->FolderTree();
    QMenu* popup = tree.TreeViewPopup;
    QMenu* list = f.Menu().mniTreeList;
    QCOMPARE(popup->actions().first(), list->menuAction());
    // What "リスト(&L)" holds each time the context menu opens; "~" when it cannot unfold.
    QStringList seen;
    connect(popup, &QMenu::aboutToShow, this, [&] {
        QTimer::singleShot(0, popup, [&] {
            seen = QStringList{QStringLiteral("~")};
            if (list->menuAction()->isEnabled()) {
                Unfold(list);
                seen = Captions(list);
            }
            popup->close();
        });
    });
    // On the selected folder the list holds only its contents.
    tree.OpenFolderNow(f.Tech);
    tree.OpenPopup({}, true);
    QCOMPARE(seen, QStringList({QStringLiteral("kernel(&1)"), QStringLiteral("zeta(&2)")}));
    // An empty selected folder has nothing to list.
    tree.OpenFolderNow(f.News);
    tree.OpenPopup({}, true);
    QCOMPARE(seen, QStringList({QStringLiteral("~")}));
    // Another folder under the mouse begins with its open entry.
    tree.OpenFolderNow(&f.Root());
    const QRect techRect = f.Window->TreeView()->visualRect(f.Window->FolderModel()->IndexOf(f.Tech));
    QVERIFY(techRect.isValid());
    tree.OpenPopup(techRect.center(), false);
    QCOMPARE(seen, QStringList({QStringLiteral("開く(&O)"), QStringLiteral("-"), QStringLiteral("kernel(&1)"),
                                QStringLiteral("zeta(&2)")}));
}

void TTrayMenuTest::itemMenuKeepsItsCommands() {
    TFixture f;
    QVERIFY(f.Window->ItemList().SelectItem(f.Item(f.Root(), "gamma")));
    QMenu* popup = f.Window->ItemList().Popup();
    popup->popup(QPoint(0, 0));
    const QStringList captions = Captions(popup);
    QCOMPARE(captions.mid(0, 3),
             QStringList({QStringLiteral("開く(&O)"), QStringLiteral("検索"), QStringLiteral("ツール")}));
    QCOMPARE(Entry(popup, QStringLiteral("検索"))->statusTip(), QStringLiteral("https://search.example/?q=g"));
    Entry(popup, QStringLiteral("検索"))->trigger();
    popup->hide();
    QCOMPARE(f.Shell.Calls.size(), std::size_t{1});
}

void TTrayMenuTest::trayMenuFollowsModalWindows() {
    TFixture f;
    TTrayIcon& tray = f.Window->Tray();
    f.Window->show();
    tray.UpdateMenu();
    QCOMPARE(
        Captions(tray.TrayIconPopup),
        QStringList({QStringLiteral("リスト(&L)"), QStringLiteral("-"), QStringLiteral("ファイルを開く(&O)..."),
                     QStringLiteral("最近開いたファイル"), QStringLiteral("-"), QStringLiteral("~元のサイズに戻す(&R)"),
                     QStringLiteral("最小化(&N)"), QStringLiteral("終了(&X)")}));
    QCOMPARE(Captions(tray.mniTrayRecentFiles), QStringList({QStringLiteral("~(なし)")}));
    Unfold(tray.mniTrayList);
    QCOMPARE(Captions(tray.mniTrayList).first(), QStringLiteral("~ルートフォルダを開く(&O)"));

    QDialog dialog(f.Window.get());
    dialog.setModal(true);
    dialog.show();
    tray.UpdateMenu();
    QCOMPARE(Captions(tray.TrayIconPopup),
             QStringList({QStringLiteral("~リスト(&L)"), QStringLiteral("-"), QStringLiteral("~ファイルを開く(&O)..."),
                          QStringLiteral("~最近開いたファイル"), QStringLiteral("-"),
                          QStringLiteral("~元のサイズに戻す(&R)"), QStringLiteral("最小化(&N)"),
                          QStringLiteral("~終了(&X)")}));
    dialog.hide();
    f.Window->showMinimized();
    tray.UpdateMenu();
    QVERIFY(tray.actTrayRestore->isEnabled());
    QVERIFY(!tray.actTrayMinimize->isEnabled());
}

void TTrayMenuTest::trayIconOnMinimizeAndRestore_data() {
    QTest::addColumn<int>("trayIcon");
    QTest::addColumn<bool>("hideTaskBar");
    QTest::addColumn<bool>("atStart");
    QTest::addColumn<bool>("minimized");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("restored");
    QTest::newRow("never") << 0 << true << false << false << false << false;
    QTest::newRow("always") << 1 << false << true << true << false << true;
    QTest::newRow("always, off the task bar") << 1 << true << true << true << true << true;
    QTest::newRow("while minimised") << 2 << false << false << true << false << false;
    QTest::newRow("while minimised, off the task bar") << 2 << true << false << true << true << false;
}

void TTrayMenuTest::trayIconOnMinimizeAndRestore() {
    QFETCH(int, trayIcon);
    QFETCH(bool, hideTaskBar);
    QFETCH(bool, atStart);
    QFETCH(bool, minimized);
    QFETCH(bool, hidden);
    QFETCH(bool, restored);
    TFixture f([&](hv::TSettings& settings) {
        settings.Set(hv::opt::Main::TrayIcon, std::int32_t{trayIcon});
        settings.Set(hv::opt::Main::HideTaskBar, hideTaskBar);
    });
    TTrayIcon& tray = f.Window->Tray();
    tray.SetTrayAvailable(true);
    f.Window->show();
    QCOMPARE(tray.IconVisible(), atStart);
    f.Window->showMinimized();
    QCOMPARE(tray.IconVisible(), minimized);
    QTRY_COMPARE(f.Window->isVisible(), !hidden);
    QCOMPARE(tray.WindowHidden(), hidden);
    tray.RestoreWindow();
    QVERIFY(f.Window->isVisible());
    QVERIFY(!f.Window->isMinimized());
    QCOMPARE(tray.IconVisible(), restored);
    QVERIFY(!tray.WindowHidden());
    // The options dialog's confirmation shows the icon exactly for TrayIcon 1.
    f.Settings.Set(hv::opt::Main::TrayIcon, std::int32_t{1});
    tray.ApplySettings();
    QVERIFY(tray.IconVisible());
    f.Settings.Set(hv::opt::Main::TrayIcon, std::int32_t{2});
    tray.ApplySettings();
    QVERIFY(!tray.IconVisible());
}

void TTrayMenuTest::noTrayKeepsTheWindowReachable() {
    TFixture f([](hv::TSettings& settings) { settings.Set(hv::opt::Main::HideTaskBar, true); });
    TTrayIcon& tray = f.Window->Tray();
    tray.SetTrayAvailable(false);
    f.Window->show();
    f.Window->showMinimized();
    QTest::qWait(20);
    QVERIFY(f.Window->isVisible());
    QVERIFY(!tray.WindowHidden());
}

void TTrayMenuTest::restoringKeepsAMaximizedWindow() {
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
    QVERIFY(f.Window->isVisible());
    QVERIFY(f.Window->isMaximized());
    // Taking the icon away while the window hides in the tray brings the window back.
    f.Window->showMinimized();
    QTRY_VERIFY(!f.Window->isVisible());
    f.Settings.Set(hv::opt::Main::TrayIcon, std::int32_t{0});
    tray.ApplySettings();
    QVERIFY(f.Window->isVisible());
    QVERIFY(!tray.WindowHidden());
}

void TTrayMenuTest::hintFollowsTheCaption() {
    TFixture f;
    const QString name = QString(70, QChar(0x3042));
    f.Window->setWindowTitle(QStringLiteral("Hollyvine - ") + name);
    const QString hint = f.Window->Tray().Icon()->toolTip();
    QCOMPARE(hint.size(), 63);
    QVERIFY(hint.startsWith(QStringLiteral("Hollyvine - ")));
}

QTEST_MAIN(TTrayMenuTest)
#include "test_traymenu.moc"

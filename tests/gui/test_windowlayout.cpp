#include "GuiTestSupport.h"
#include "document/DocumentCommands.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/HintDispatcher.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ListHintWindow.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/ToolBars.h"
#include "mainwindow/TreeHintWindow.h"
#include "mainwindow/WindowLayout.h"
#include "model/HVFolder.h"
#include "search/SearchWindows.h"
#include "settings/Settings.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>
#include <QtTest>

#include <memory>

using hv::THVWindow;
using hv::test::TScriptedPrompts;

namespace {

const QString kSample = QStringLiteral(HV_EXAMPLES_DIR "/sample.hv");

// A window over settings that outlive it, so that a second window reads what the first wrote.
struct TSession {
    explicit TSession(hv::TMemoryRegistryStore& store) : Settings(store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
    }
    void Open() { Window = std::make_unique<THVWindow>(&Settings, &Prompts); }
    void Show(int width = 800, int height = 600) {
        Window->resize(width, height);
        Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    }
    void Start(int width = 800, int height = 600) {
        Open();
        Show(width, height);
    }
    void Close() {
        Window.reset();
        Settings.End();
    }
    hv::TWindowLayout& Layout() const { return Window->Layout(); }
    QSplitter* ViewSplit() const { return Window->findChild<QSplitter*>(QStringLiteral("pnlView")); }

    hv::TSettings Settings;
    TScriptedPrompts Prompts;
    std::unique_ptr<THVWindow> Window;
};

struct TOwnStore {
    hv::TMemoryRegistryStore Store;
};

// A window over a store of its own, shown at 800x600, with the sample document when asked;
// prepare sets options before the window reads them.
struct TShown : TOwnStore, TSession {
    explicit TShown(bool sample = false, const std::function<void(hv::TSettings&)>& prepare = {}, int width = 800,
                    int height = 600)
        : TSession(Store) {
        if (prepare) {
            prepare(Settings);
        }
        Open();
        if (sample) {
            Window->StartUpOpen(kSample);
        }
        Show(width, height);
    }
};

void SendToolTip(QWidget* widget, const QPoint& pos) {
    QHelpEvent help(QEvent::ToolTip, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &help);
}

// A point on the label of the tree row called name.
QPoint TreeLabelPoint(QTreeView* tree, const QString& name) {
    const QModelIndexList found =
        tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchRecursive);
    const QRect row = tree->visualRect(found.value(0));
    return QPoint(row.left() + 24, row.center().y());
}

} // namespace

class TWindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void verticalAndBackRestoresTheTreeWidth();
    void verticalOnASmallWindowLeavesTheListItsMinimum();
    void compactKeepsTheWindowHeight();
    void compactLeavesAMaximisedWindowAlone();
    void hiddenBarsStayHiddenAfterARestart();
    void barsHoldTheWindowsActionsInThreeRows();
    void panelGripStopsAt240();
    void statusBarShowsTheLongHint();
    void folderHintRendersOnlyWhenItChanged();
    void folderHintOnlyOverTheLabelUntilThePauseAndWithShowTreeHint();
    void itemHintOverARow();
    void cutOffURLAndRecentFileGetATip();
    void sortMenuFromPanel2();
    void infoPanelOpensThePropertiesAndCutsTheURL();
    void memoFontFromTheSettings();
    void bottomPartKeepsItsLimits();
};

void TWindowLayoutTest::verticalAndBackRestoresTheTreeWidth() {
    TShown s;
    s.ViewSplit()->setSizes({200, 500});
    s.Layout().actVertical->trigger();
    QCOMPARE(s.ViewSplit()->orientation(), Qt::Vertical);
    QVERIFY(s.Layout().actVertical->isChecked());
    s.ViewSplit()->setSizes({150, 300});
    s.Layout().actVertical->trigger();
    QCOMPARE(s.ViewSplit()->orientation(), Qt::Horizontal);
    QCOMPARE(s.ViewSplit()->sizes().value(0), 200);
    // Back to vertical: the height the user had there.
    s.Layout().actVertical->trigger();
    QCOMPARE(s.ViewSplit()->sizes().value(0), 150);
    s.Close();
    QCOMPARE(s.Settings.Get(hv::opt::Window::Vertical), true);
    QCOMPARE(s.Settings.Get(hv::opt::Window::TreeHeight), 150);
    QCOMPARE(s.Settings.Get(hv::opt::Window::TreeWidth), 200);
}

void TWindowLayoutTest::verticalOnASmallWindowLeavesTheListItsMinimum() {
    TShown s(
        false, [](hv::TSettings& settings) { settings.Set(hv::opt::Window::TreeHeight, std::int32_t{2000}); }, 500,
        400);
    s.Layout().actVertical->trigger();
    QSplitter* split = s.ViewSplit();
    QVERIFY(split->sizes().value(0) <= split->height() - split->handleWidth() - hv::kViewSplitMinSize);
    QVERIFY(split->sizes().value(1) >= hv::kViewSplitMinSize);
}

void TWindowLayoutTest::compactKeepsTheWindowHeight() {
    TShown s;
    QWidget* bottom = s.Window->findChild<QWidget*>(QStringLiteral("BottomPanel"));
    auto* split = s.Window->findChild<QSplitter*>(QStringLiteral("Splitter2"));
    split->setSizes({split->height() - 120, 120});
    QTRY_COMPARE(bottom->height(), 120);
    const int height = s.Window->height();
    QTest::keyClick(s.Window.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(s.Layout().actCompact->isChecked());
    QVERIFY(bottom->isHidden() && s.Window->statusBar()->isHidden());
    QTRY_VERIFY(s.Window->height() <= height - 120);
    QTest::keyClick(s.Window.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(!bottom->isHidden() && !s.Window->statusBar()->isHidden());
    QTRY_COMPARE(s.Window->height(), height);
    QTRY_COMPARE(bottom->height(), 120);

    // Closed compact, started again and left compact: the bottom part as tall as before.
    QTest::keyClick(s.Window.get(), Qt::Key_M, Qt::ControlModifier);
    s.Close();
    TSession again(s.Store);
    again.Start(800, 400);
    QVERIFY(again.Layout().actCompact->isChecked());
    again.Layout().actCompact->trigger();
    QTRY_COMPARE(again.Window->findChild<QWidget*>(QStringLiteral("BottomPanel"))->height(), 120);
}

void TWindowLayoutTest::compactLeavesAMaximisedWindowAlone() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Window->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(s.Window.get()));
    QTRY_VERIFY(s.Window->isMaximized());
    const QSize size = s.Window->size();
    for (int turn = 0; turn < 2; ++turn) { // into compact and back
        s.Layout().actCompact->trigger();
        QTest::qWait(50);
        QCOMPARE(s.Window->size(), size);
    }
    QVERIFY(!s.Window->statusBar()->isHidden());
}

void TWindowLayoutTest::hiddenBarsStayHiddenAfterARestart() {
    TShown s;
    hv::TToolBars& bars = s.Layout().ToolBars();
    for (int tag = 1; tag <= hv::TToolBars::kBarCount; ++tag) {
        QVERIFY(!bars.Bar(tag)->isHidden());
        bars.ShowAction(tag)->trigger();
        QVERIFY(bars.Bar(tag)->isHidden());
    }
    s.Close();
    QVERIFY(QString::fromStdString(s.Settings.Get(hv::opt::ToolBar::ViewBar)).startsWith(QStringLiteral("0,")));
    const std::string itemPlace = s.Settings.Get(hv::opt::ToolBar::ItemBar);
    // The item bar was hidden below the file bar's row.
    QVERIFY(QString::fromStdString(itemPlace).section(QLatin1Char(','), 2).toInt() > 10);

    TSession next(s.Store);
    next.Start();
    hv::TToolBars& nextBars = next.Layout().ToolBars();
    for (int tag = 1; tag <= hv::TToolBars::kBarCount; ++tag) {
        QVERIFY2(nextBars.Bar(tag)->isHidden(), qPrintable(nextBars.Bar(tag)->objectName()));
        QVERIFY(!nextBars.ShowAction(tag)->isChecked());
    }
    // One shown again comes back at the next start; the hidden ones keep their places.
    nextBars.actShowFindBar->trigger();
    next.Close();
    QCOMPARE(next.Settings.Get(hv::opt::ToolBar::ItemBar), itemPlace);
    TSession again(s.Store);
    again.Start();
    QVERIFY(!again.Layout().ToolBars().tbrFind->isHidden());
    QVERIFY(again.Layout().ToolBars().tbrFile->isHidden());
}

void TWindowLayoutTest::barsHoldTheWindowsActionsInThreeRows() {
    TShown s;
    hv::TToolBars& bars = s.Layout().ToolBars();
    QVERIFY(bars.tbrFind->actions().contains(s.Window->SearchWindows().actFind));
    QVERIFY(bars.tbrFind->actions().contains(s.Window->SearchWindows().actFindDup));
    QVERIFY(bars.tbrView->actions().contains(s.Layout().actCompact));
    // Buttons show icons, their text goes into the tool tip.
    for (QToolBar* bar : {bars.tbrFile, bars.tbrFolder, bars.tbrItem, bars.tbrView, bars.tbrFind}) {
        for (QAction* action : bar->actions()) {
            if (!action->isSeparator()) {
                QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
                QVERIFY2(!action->toolTip().contains(QLatin1Char('&')), qPrintable(action->toolTip()));
            }
        }
    }
    QCOMPARE(s.Window->DocumentCommands().actNew->toolTip(), QStringLiteral("新規"));
    // File and folder; item; find and view.
    QCOMPARE(bars.tbrFolder->y(), bars.tbrFile->y());
    QVERIFY(bars.tbrFolder->x() > bars.tbrFile->x());
    QVERIFY(bars.tbrItem->y() > bars.tbrFile->y());
    QVERIFY(bars.tbrFind->y() > bars.tbrItem->y());
    QCOMPARE(bars.tbrView->y(), bars.tbrFind->y());
    QVERIFY(bars.tbrView->x() > bars.tbrFind->x());
}

void TWindowLayoutTest::panelGripStopsAt240() {
    TShown s;
    QStatusBar* bar = s.Window->statusBar();
    QLabel* panel = s.Window->StatusPanel(0);
    const int left = panel->geometry().left();
    const int y = panel->geometry().center().y();
    const int grip = (panel->geometry().right() + s.Window->StatusPanel(1)->geometry().left()) / 2;
    QCOMPARE(s.Layout().Panels().GripAt(grip), 0);
    QCOMPARE(s.Layout().Panels().GripAt(left + 50), -1);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(grip, y));
    QTest::mouseMove(bar, QPoint(left + 150, y));
    QCOMPARE(panel->minimumWidth(), 150);
    QTest::mouseMove(bar, QPoint(left + 240, y));
    QTest::mouseMove(bar, QPoint(left + 300, y));
    QCOMPARE(panel->minimumWidth(), 240);
    QTest::mouseMove(bar, QPoint(left + 10, y));
    QCOMPARE(panel->minimumWidth(), 240);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(left + 10, y));
    s.Close();
    QVERIFY(
        QString::fromStdString(s.Settings.Get(hv::opt::Window::StatusPanelWidths)).startsWith(QStringLiteral("240,")));
}

void TWindowLayoutTest::statusBarShowsTheLongHint() {
    TShown s;
    QWidget* button = s.Layout().ToolBars().tbrFile->widgetForAction(s.Window->DocumentCommands().actSave);
    const QPointF centre = QRectF(button->rect()).center();
    QEnterEvent enter(centre, centre, button->mapToGlobal(centre));
    QApplication::sendEvent(button, &enter);
    QCOMPARE(s.Window->StatusPanel(3)->text(), QStringLiteral("ファイルを上書き保存します"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    QCOMPARE(s.Window->StatusPanel(3)->text(), QString());
    // A menu entry's hint, as the menu reports it.
    s.Window->ItemList().actAddItem->showStatusText(s.Window->menuBar());
    QCOMPARE(s.Window->StatusPanel(3)->text(), QStringLiteral("表示しているフォルダに新しいアイテムを追加します"));
}

void TWindowLayoutTest::folderHintRendersOnlyWhenItChanged() {
    TShown s(true);
    QTreeView* tree = s.Window->TreeView();
    tree->expandAll();
    hv::THVTreeHintWindow* hint = s.Layout().Hints()->TreeHint();
    const QPoint pos = TreeLabelPoint(tree, QStringLiteral("ニュース"));
    SendToolTip(tree->viewport(), pos);
    QVERIFY(hint->isVisible());
    const int renders = hint->RenderCount();
    hint->hide();
    SendToolTip(tree->viewport(), pos);
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->RenderCount(), renders);
    // An item added to the folder shows at the next hint.
    s.Window->FolderModel()->nodeFromIndex(tree->indexAt(pos))->List().Add("追加したアイテム");
    SendToolTip(tree->viewport(), pos);
    QCOMPARE(hint->RenderCount(), renders + 1);
    // Leaving the row takes the hint away.
    const QPointF below(pos.x(), pos.y() + 200);
    QMouseEvent move(QEvent::MouseMove, below, tree->viewport()->mapToGlobal(below), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    QVERIFY(!hint->isVisible());
}

void TWindowLayoutTest::folderHintOnlyOverTheLabelUntilThePauseAndWithShowTreeHint() {
    for (const bool showTreeHint : {true, false}) {
        TShown s(true, [&](hv::TSettings& settings) {
            settings.Set(hv::opt::Main::HintHidePause, std::int32_t{150});
            settings.Set(hv::opt::Window::ShowTreeHint, showTreeHint);
        });
        QTreeView* tree = s.Window->TreeView();
        const QPoint label = TreeLabelPoint(tree, QStringLiteral("Hollyvine"));
        SendToolTip(tree->viewport(), QPoint(tree->viewport()->width() - 2, label.y()));
        QVERIFY(!s.Layout().Hints()->TreeHint()->isVisible());
        SendToolTip(tree->viewport(), label);
        QCOMPARE(s.Layout().Hints()->TreeHint()->isVisible(), showTreeHint);
        QTRY_VERIFY_WITH_TIMEOUT(!s.Layout().Hints()->TreeHint()->isVisible(), 2000);
    }
}

void TWindowLayoutTest::itemHintOverARow() {
    TShown s(true);
    QTreeView* list = s.Window->ListView();
    QVERIFY(list->model()->rowCount() > 0);
    hv::THVListHintWindow* hint = s.Layout().Hints()->ListHint();
    const QRect row = list->visualRect(list->model()->index(0, 0));
    SendToolTip(list->viewport(), row.center());
    QVERIFY(hint->isVisible());
    const int renders = hint->RenderCount();
    SendToolTip(list->viewport(), row.center());
    QCOMPARE(hint->RenderCount(), renders + 1); // an item hint is drawn afresh each time
    hint->hide();
    SendToolTip(list->viewport(), QPoint(5, list->viewport()->height() - 3));
    QVERIFY(!hint->isVisible());
}

// The URL label and the rows of a list of recent files (lsbRecentFiles) show their whole text
// as a tip, only when it does not fit.
void TWindowLayoutTest::cutOffURLAndRecentFileGetATip() {
    TShown s;
    auto* url = s.Window->findChild<QLabel*>(QStringLiteral("lblURL"));
    url->setText(QStringLiteral("https://example.org/"));
    url->setFixedWidth(url->fontMetrics().horizontalAdvance(url->text()) + 20);
    SendToolTip(url, QPoint(3, 3));
    QVERIFY(!QToolTip::isVisible());
    const QString longURL = QStringLiteral("https://example.org/a/very/long/path/that/cannot/fit/in/the/label");
    url->setText(longURL);
    SendToolTip(url, QPoint(3, 3));
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), longURL);
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());

    QListWidget list;
    list.setObjectName(QStringLiteral("lsbRecentFiles"));
    const QString path = QStringLiteral("/home/user/Documents/bookmarks/a-rather-long-file-name.hv");
    list.addItem(path);
    list.resize(list.fontMetrics().horizontalAdvance(path) + 60, 100);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    SendToolTip(list.viewport(), list.visualItemRect(list.item(0)).center());
    QVERIFY(!QToolTip::isVisible());
    list.resize(80, 100);
    QTRY_VERIFY(list.viewport()->width() < 80);
    SendToolTip(list.viewport(), list.visualItemRect(list.item(0)).center());
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), path);
    QToolTip::hideText();
}

void TWindowLayoutTest::sortMenuFromPanel2() {
    TShown s;
    QMenu* sort = s.Layout().Panels().SortPopup();
    QVERIFY(sort->actions().contains(s.Window->ItemList().actURLOrder));
    QTest::mouseClick(s.Window->StatusPanel(1), Qt::RightButton);
    QVERIFY(!sort->isVisible());
    QTest::mouseClick(s.Window->StatusPanel(2), Qt::RightButton, Qt::ShiftModifier);
    QVERIFY(!sort->isVisible());
    QTest::mouseClick(s.Window->StatusPanel(2), Qt::RightButton);
    QTRY_VERIFY(sort->isVisible());
    sort->hide();
}

void TWindowLayoutTest::infoPanelOpensThePropertiesAndCutsTheURL() {
    TShown s(true);
    int opened = 0;
    s.Window->ItemList().SetItemDialogRunner([&opened](hv::TItemPropDlg&, hv::THVItem*, const hv::THVList&) {
        ++opened;
        return false;
    });
    s.Window->ListView()->setCurrentIndex(s.Window->ListView()->model()->index(0, 0));
    auto* info = s.Window->findChild<QWidget*>(QStringLiteral("pnlItemInfo"));
    auto* url = s.Window->findChild<QLabel*>(QStringLiteral("lblURL"));
    QTRY_COMPARE(url->maximumWidth(), info->width() - 42);
    QTest::mouseDClick(url, Qt::LeftButton);
    QCOMPARE(opened, 1);
    QTest::mouseDClick(info, Qt::LeftButton, {}, QPoint(info->width() - 5, info->height() - 5));
    QCOMPARE(opened, 2);
}

void TWindowLayoutTest::memoFontFromTheSettings() {
    const QString family = QApplication::font().family();
    TShown s(false, [&](hv::TSettings& settings) {
        settings.Set(hv::opt::Window::MemoFont, QStringLiteral("01,14,%1").arg(family).toStdString());
    });
    const QFont font = s.Window->MemoBox()->font();
    QCOMPARE(font.pointSize(), 14);
    QVERIFY(font.bold());
    QCOMPARE(font.family(), family);
}

void TWindowLayoutTest::bottomPartKeepsItsLimits() {
    TShown s;
    auto* split = s.Window->findChild<QSplitter*>(QStringLiteral("Splitter2"));
    QWidget* bottom = s.Window->findChild<QWidget*>(QStringLiteral("BottomPanel"));
    split->setSizes({5000, 10});
    QTRY_COMPARE(bottom->height(), 69);
    split->setSizes({10, 5000});
    QTRY_VERIFY(bottom->height() > 69);
    QVERIFY(bottom->height() <= split->height() - split->handleWidth() - 4);
}

QTEST_MAIN(TWindowLayoutTest)
#include "test_windowlayout.moc"

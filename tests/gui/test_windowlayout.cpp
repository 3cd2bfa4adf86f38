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
    void barsHoldTheWindowsActions();
    void panelGripStopsAt240();
    void statusBarShowsTheLongHint();
    void folderHintRendersOnlyWhenItChanged();
    void folderHintOnlyOverTheLabelAndWithShowTreeHint();
    void itemHintOverARow();
    void urlHintOnlyWhenCutOff();
    void defaultBarsLieInThreeRows();
    void sortMenuFromPanel2();
    void infoPanelOpensThePropertiesAndCutsTheURL();
    void memoFontFromTheSettings();
    void bottomPartKeepsItsLimits();
    void recentFileRowHintOnlyWhenCutOff();
    void hintGoesAfterTheHidePause();
};

void TWindowLayoutTest::verticalAndBackRestoresTheTreeWidth() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Show();
    s.ViewSplit()->setSizes({200, 500});
    QCOMPARE(s.ViewSplit()->sizes().value(0), 200);
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
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Settings.Set(hv::opt::Window::TreeHeight, std::int32_t{2000});
    s.Open();
    s.Show(500, 400);
    s.Layout().actVertical->trigger();
    QSplitter* split = s.ViewSplit();
    QVERIFY(split->sizes().value(0) <= split->height() - split->handleWidth() - hv::kViewSplitMinSize);
    QVERIFY(split->sizes().value(1) >= hv::kViewSplitMinSize);
}

void TWindowLayoutTest::compactKeepsTheWindowHeight() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Show();
    QWidget* bottom = s.Window->findChild<QWidget*>(QStringLiteral("BottomPanel"));
    auto* split = s.Window->findChild<QSplitter*>(QStringLiteral("Splitter2"));
    split->setSizes({split->height() - 120, 120});
    QTRY_COMPARE(bottom->height(), 120);
    const int height = s.Window->height();
    const int bottomHeight = bottom->height();
    QTest::keyClick(s.Window.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(s.Layout().actCompact->isChecked());
    QVERIFY(bottom->isHidden() && s.Window->statusBar()->isHidden());
    QTRY_VERIFY(s.Window->height() <= height - bottomHeight);
    QTest::keyClick(s.Window.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(!bottom->isHidden() && !s.Window->statusBar()->isHidden());
    QTRY_COMPARE(s.Window->height(), height);
    QTRY_COMPARE(bottom->height(), bottomHeight);

    // Closed compact, started again and left compact: the bottom part as tall as before.
    QTest::keyClick(s.Window.get(), Qt::Key_M, Qt::ControlModifier);
    s.Close();
    TSession again(store);
    again.Open();
    again.Show(800, 400);
    QVERIFY(again.Layout().actCompact->isChecked());
    again.Layout().actCompact->trigger();
    QWidget* shown = again.Window->findChild<QWidget*>(QStringLiteral("BottomPanel"));
    QTRY_COMPARE(shown->height(), bottomHeight);
}

void TWindowLayoutTest::compactLeavesAMaximisedWindowAlone() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Window->showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(s.Window.get()));
    QTRY_VERIFY(s.Window->isMaximized());
    const QSize size = s.Window->size();
    s.Layout().actCompact->trigger();
    QTest::qWait(50);
    QCOMPARE(s.Window->size(), size);
    s.Layout().actCompact->trigger();
    QTest::qWait(50);
    QCOMPARE(s.Window->size(), size);
    QVERIFY(!s.Window->statusBar()->isHidden());
}

void TWindowLayoutTest::hiddenBarsStayHiddenAfterARestart() {
    hv::TMemoryRegistryStore store;
    std::string itemPlace;
    {
        TSession s(store);
        s.Open();
        s.Show();
        hv::TToolBars& bars = s.Layout().ToolBars();
        for (int tag = 1; tag <= hv::TToolBars::kBarCount; ++tag) {
            QVERIFY(!bars.Bar(tag)->isHidden());
            bars.ShowAction(tag)->trigger();
            QVERIFY(bars.Bar(tag)->isHidden());
        }
        s.Close();
        QVERIFY(QString::fromStdString(s.Settings.Get(hv::opt::ToolBar::ViewBar)).startsWith(QStringLiteral("0,")));
        itemPlace = s.Settings.Get(hv::opt::ToolBar::ItemBar);
        // The item bar was hidden below the file bar's row.
        QVERIFY(QString::fromStdString(itemPlace).section(QLatin1Char(','), 2).toInt() > 10);
    }
    TSession s(store);
    s.Open();
    s.Show();
    hv::TToolBars& bars = s.Layout().ToolBars();
    for (int tag = 1; tag <= hv::TToolBars::kBarCount; ++tag) {
        QVERIFY2(bars.Bar(tag)->isHidden(), qPrintable(bars.Bar(tag)->objectName()));
        QVERIFY(!bars.ShowAction(tag)->isChecked());
    }
    // One shown again comes back at the next start; the hidden ones keep their places.
    bars.actShowFindBar->trigger();
    s.Close();
    QCOMPARE(s.Settings.Get(hv::opt::ToolBar::ItemBar), itemPlace);
    TSession again(store);
    again.Open();
    again.Show();
    QVERIFY(!again.Layout().ToolBars().tbrFind->isHidden());
    QVERIFY(again.Layout().ToolBars().tbrFile->isHidden());
}

void TWindowLayoutTest::barsHoldTheWindowsActions() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Show();
    hv::TToolBars& bars = s.Layout().ToolBars();
    QVERIFY(bars.tbrFind->actions().contains(s.Window->SearchWindows().actFind));
    QVERIFY(bars.tbrFind->actions().contains(s.Window->SearchWindows().actFindDup));
    QVERIFY(bars.tbrView->actions().contains(s.Layout().actCompact));
    // Buttons show icons, their text goes into the tool tip.
    for (QToolBar* bar : {bars.tbrFile, bars.tbrFolder, bars.tbrItem, bars.tbrView, bars.tbrFind}) {
        for (QAction* action : bar->actions()) {
            if (action->isSeparator()) {
                continue;
            }
            QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
            QVERIFY2(!action->toolTip().contains(QLatin1Char('&')), qPrintable(action->toolTip()));
        }
    }
    QCOMPARE(s.Window->DocumentCommands().actNew->toolTip(), QStringLiteral("新規"));
}

void TWindowLayoutTest::panelGripStopsAt240() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Show();
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
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Show();
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
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Window->StartUpOpen(kSample);
    s.Show();
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
    const QModelIndex index = tree->indexAt(pos);
    hv::THVFolder* folder = s.Window->FolderModel()->nodeFromIndex(index);
    folder->List().Add("追加したアイテム");
    SendToolTip(tree->viewport(), pos);
    QCOMPARE(hint->RenderCount(), renders + 1);
    // Leaving the row takes the hint away.
    QMouseEvent move(QEvent::MouseMove, QPointF(pos.x(), pos.y() + 200),
                     tree->viewport()->mapToGlobal(QPointF(pos.x(), pos.y() + 200)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    QVERIFY(!hint->isVisible());
}

void TWindowLayoutTest::folderHintOnlyOverTheLabelAndWithShowTreeHint() {
    hv::TMemoryRegistryStore store;
    {
        TSession s(store);
        s.Open();
        s.Window->StartUpOpen(kSample);
        s.Show();
        QTreeView* tree = s.Window->TreeView();
        const QPoint label = TreeLabelPoint(tree, QStringLiteral("Hollyvine"));
        SendToolTip(tree->viewport(), QPoint(tree->viewport()->width() - 2, label.y()));
        QVERIFY(!s.Layout().Hints()->TreeHint()->isVisible());
        SendToolTip(tree->viewport(), label);
        QVERIFY(s.Layout().Hints()->TreeHint()->isVisible());
    }
    TSession s(store);
    s.Settings.Set(hv::opt::Window::ShowTreeHint, false);
    s.Open();
    s.Window->StartUpOpen(kSample);
    s.Show();
    QTreeView* tree = s.Window->TreeView();
    SendToolTip(tree->viewport(), TreeLabelPoint(tree, QStringLiteral("Hollyvine")));
    QVERIFY(!s.Layout().Hints()->TreeHint()->isVisible());
}

void TWindowLayoutTest::itemHintOverARow() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Window->StartUpOpen(kSample);
    s.Show();
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

void TWindowLayoutTest::urlHintOnlyWhenCutOff() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Show();
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
}

void TWindowLayoutTest::defaultBarsLieInThreeRows() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Show();
    const hv::TToolBars& bars = s.Layout().ToolBars();
    QCOMPARE(bars.tbrFolder->y(), bars.tbrFile->y());
    QVERIFY(bars.tbrFolder->x() > bars.tbrFile->x());
    QVERIFY(bars.tbrItem->y() > bars.tbrFile->y());
    QVERIFY(bars.tbrFind->y() > bars.tbrItem->y());
    QCOMPARE(bars.tbrView->y(), bars.tbrFind->y());
    QVERIFY(bars.tbrView->x() > bars.tbrFind->x());
}

void TWindowLayoutTest::sortMenuFromPanel2() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Show();
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
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Window->StartUpOpen(kSample);
    s.Show();
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
    hv::TMemoryRegistryStore store;
    TSession s(store);
    const QString family = QApplication::font().family();
    s.Settings.Set(hv::opt::Window::MemoFont, QStringLiteral("01,14,%1").arg(family).toStdString());
    s.Open();
    const QFont font = s.Window->MemoBox()->font();
    QCOMPARE(font.pointSize(), 14);
    QVERIFY(font.bold());
    QCOMPARE(font.family(), family);
}

void TWindowLayoutTest::bottomPartKeepsItsLimits() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    s.Show(800, 600);
    auto* split = s.Window->findChild<QSplitter*>(QStringLiteral("Splitter2"));
    QWidget* bottom = s.Window->findChild<QWidget*>(QStringLiteral("BottomPanel"));
    split->setSizes({5000, 10});
    QTRY_COMPARE(bottom->height(), 69);
    split->setSizes({10, 5000});
    QTRY_VERIFY(bottom->height() > 69);
    QVERIFY(bottom->height() <= split->height() - split->handleWidth() - 4);
}

void TWindowLayoutTest::recentFileRowHintOnlyWhenCutOff() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Open();
    QListWidget list;
    list.setObjectName(QStringLiteral("lsbRecentFiles"));
    const QString path = QStringLiteral("/home/user/Documents/bookmarks/a-rather-long-file-name.hv");
    list.addItem(path);
    list.resize(list.fontMetrics().horizontalAdvance(path) + 60, 100);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QPoint row = list.visualItemRect(list.item(0)).center();
    SendToolTip(list.viewport(), row);
    QVERIFY(!QToolTip::isVisible());
    list.resize(80, 100);
    QTRY_VERIFY(list.viewport()->width() < 80);
    SendToolTip(list.viewport(), list.visualItemRect(list.item(0)).center());
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), path);
    QToolTip::hideText();
}

void TWindowLayoutTest::hintGoesAfterTheHidePause() {
    hv::TMemoryRegistryStore store;
    TSession s(store);
    s.Settings.Set(hv::opt::Main::HintHidePause, std::int32_t{150});
    s.Open();
    s.Window->StartUpOpen(kSample);
    s.Show();
    QTreeView* tree = s.Window->TreeView();
    SendToolTip(tree->viewport(), TreeLabelPoint(tree, QStringLiteral("Hollyvine")));
    QVERIFY(s.Layout().Hints()->TreeHint()->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!s.Layout().Hints()->TreeHint()->isVisible(), 2000);
}

QTEST_MAIN(TWindowLayoutTest)
#include "test_windowlayout.moc"

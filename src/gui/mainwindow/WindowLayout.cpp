#include "mainwindow/WindowLayout.h"

#include "document/DocumentCommands.h"
#include "importexport/ExportActions.h"
#include "mainwindow/ClipboardActions.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/HintDispatcher.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListViews.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/ToolBars.h"
#include "model/ItemOrder.h"
#include "search/SearchWindows.h"
#include "settings/MemoFont.h"
#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QTreeView>

#include <algorithm>
#include <cmath>

namespace hv {

namespace {

// The Windows program's sizes were made for a UI font about 12 pixels high; Linux desktop fonts
// are taller, so the sizes used when none is stored grow with the font.
constexpr int kWindowsFontHeight = 12;
// The URL label stays this much narrower than the info panel, so that a long URL is cut off
// and shown whole by its hint.
constexpr int kURLLabelInset = 42;

int ScaledToFont(int size, const QFontMetrics& metrics) {
    const double scale = std::max(1.0, static_cast<double>(metrics.height()) / kWindowsFontHeight);
    return static_cast<int>(std::lround(size * scale));
}

// The width a status panel needs to show the widest of texts whole.
int PanelWidthFor(const QLabel& panel, const QStringList& texts) {
    const QFontMetrics metrics = panel.fontMetrics();
    int widest = 0;
    for (const QString& text : texts) {
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    return widest + 2 * panel.frameWidth() + metrics.horizontalAdvance(QLatin1Char('x')) + 4;
}

QStringList SortOrderTexts() {
    QStringList texts;
    for (const int type : {TItemOrder::ByName, TItemOrder::ByURL, TItemOrder::ByLastVisited}) {
        for (const bool descending : {false, true}) {
            texts << SortOrderText(TItemOrder{type, descending});
        }
    }
    return texts;
}

} // namespace

TWindowLayout::TWindowLayout(THVWindow& window, const TWidgets& widgets, TSettings* settings)
    : QObject(&window), m_Window(window), m_Widgets(widgets), m_Settings(settings) {
    InstallFallbackIcons();
    m_Bars = new TToolBars(window);
    m_Panels = new TStatusPanels(window.statusBar(), this);

    actVertical = new QAction(QStringLiteral("縦型(&V)"), &window);
    actVertical->setObjectName(QStringLiteral("actVertical"));
    actVertical->setCheckable(true);
    connect(actVertical, &QAction::triggered, this, [this](bool on) { SetVertical(on); });
    actCompact = new QAction(QStringLiteral("コンパクト表示モード(&C)"), &window);
    actCompact->setObjectName(QStringLiteral("actCompact"));
    actCompact->setCheckable(true);
    actCompact->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(actCompact, &QAction::triggered, this, [this](bool on) { SetCompact(on); });

    m_Widgets.ViewSplit->setObjectName(QStringLiteral("pnlView"));
    m_Widgets.ViewSplit->setChildrenCollapsible(false);
    m_Widgets.BottomSplit->setObjectName(QStringLiteral("Splitter2"));
    m_Widgets.BottomSplit->setChildrenCollapsible(false);
    m_Widgets.Bottom->setMinimumHeight(kBottomPanelMinHeight);
    m_Widgets.InfoPanel->setObjectName(QStringLiteral("pnlItemInfo"));
    for (QWidget* widget :
         {static_cast<QWidget*>(m_Widgets.ViewSplit), m_Widgets.InfoPanel, static_cast<QWidget*>(m_Widgets.Title),
          static_cast<QWidget*>(m_Widgets.URL), static_cast<QWidget*>(m_Widgets.BottomSplit)}) {
        widget->installEventFilter(this);
    }
    window.installEventFilter(this);
}

TWindowLayout::~TWindowLayout() = default;

void TWindowLayout::FillViewMenu(QMenu* menu) const {
    menu->addSeparator();
    menu->addAction(actVertical);
    menu->addAction(actCompact);
    menu->addSeparator();
    menu->addMenu(m_Bars->BarsMenu());
}

void TWindowLayout::Wire() {
    THVWindow& w = m_Window;
    TDocumentCommands& file = w.DocumentCommands();
    TFolderTreeController& folder = w.FolderTree();
    TItemListController& item = w.ItemList();
    TSearchWindows& find = w.SearchWindows();
    TToolBars& bars = *m_Bars;
    // One line per button; nullptr is a separator.
    bars.Add(bars.tbrFile, file.actNew);
    bars.Add(bars.tbrFile, file.actOpen, file.RecentFilePopup);
    bars.Add(bars.tbrFile, file.actSave);
    bars.Add(bars.tbrFile, nullptr);
    bars.Add(bars.tbrFile, file.actFileProp);
    bars.Add(bars.tbrFile, nullptr);
    bars.Add(bars.tbrFile, w.Exports().actExportHtml);
    bars.Add(bars.tbrFolder, folder.actBackFolder, folder.RecentFolderPopup1);
    bars.Add(bars.tbrFolder, folder.actNextFolder, folder.RecentFolderPopup2);
    bars.Add(bars.tbrFolder, nullptr);
    bars.Add(bars.tbrFolder, folder.actAddFolder);
    bars.Add(bars.tbrFolder, folder.actDeleteFolder);
    bars.Add(bars.tbrFolder, folder.actMoveFolderForward);
    bars.Add(bars.tbrFolder, folder.actMoveFolderBack);
    bars.Add(bars.tbrItem, item.actOpenItem);
    bars.Add(bars.tbrItem, nullptr);
    bars.Add(bars.tbrItem, item.actAddItem);
    bars.Add(bars.tbrItem, item.actItemProp);
    bars.Add(bars.tbrItem, item.actDeleteItem);
    bars.Add(bars.tbrItem, nullptr);
    bars.Add(bars.tbrItem, item.actMoveItem);
    bars.Add(bars.tbrItem, item.actCopyItem);
    bars.Add(bars.tbrItem, nullptr);
    bars.Add(bars.tbrItem, w.Clipboard().actCutToCB);
    bars.Add(bars.tbrItem, w.Clipboard().actCopyToCB);
    bars.Add(bars.tbrItem, w.Clipboard().actPasteFromCB);
    bars.Add(bars.tbrView, item.actViewReport);
    bars.Add(bars.tbrView, actVertical);
    bars.Add(bars.tbrView, actCompact);
    bars.Add(bars.tbrFind, find.actFind);
    bars.Add(bars.tbrFind, find.actFindDup);

    auto* sort = new QMenu(&w);
    sort->setObjectName(QStringLiteral("SortPopup"));
    sort->addAction(item.actNameOrder);
    sort->addAction(item.actURLOrder);
    sort->addAction(item.actDateOrder);
    sort->addSeparator();
    sort->addAction(item.actAscending);
    sort->addAction(item.actDescending);
    m_Panels->SetSortPopup(sort);

    m_Hints =
        new THintDispatcher({w.TreeView(), w.FolderModel(), w.ListView(),
                             w.findChild<QListView*>(QStringLiteral("ListViewNames")), item.Model(), m_Widgets.URL},
                            this);
    DecorateActions(&w);
    // The buttons took the tool tips before the hints were given.
    for (QToolBar* bar : w.findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            action->setToolTip(action->toolTip());
        }
    }
    ApplyDisplaySettings();
}

void TWindowLayout::ApplyDisplaySettings() {
    if (m_Settings == nullptr) {
        return;
    }
    m_Widgets.Memo->setFont(MemoFontFromText(m_Settings->Get(opt::Window::MemoFont), m_Window.font()));
    if (m_Hints != nullptr) {
        m_Hints->ApplySettings(*m_Settings);
    }
}

int TWindowLayout::TreeSize() const {
    return m_Widgets.ViewSplit->sizes().value(0);
}

void TWindowLayout::SetVertical(bool on) {
    QSplitter* split = m_Widgets.ViewSplit;
    const bool wasVertical = split->orientation() == Qt::Vertical;
    if (wasVertical != on) {
        (wasVertical ? m_TreeHeight : m_TreeWidth) = TreeSize();
        if (m_Settings != nullptr) {
            if (wasVertical) {
                m_Settings->Set(opt::Window::TreeHeight, static_cast<std::int32_t>(m_TreeHeight));
            } else {
                m_Settings->Set(opt::Window::TreeWidth, static_cast<std::int32_t>(m_TreeWidth));
            }
        }
    }
    m_Vertical = on;
    actVertical->setChecked(on);
    split->setOrientation(on ? Qt::Vertical : Qt::Horizontal);
    const int panel = on ? split->height() : split->width();
    const int wanted = on ? m_TreeHeight : m_TreeWidth;
    const int tree = split->isVisible() ? LimitTreeSize(wanted, panel, split->handleWidth()) : wanted;
    split->setSizes({tree, std::max(panel - tree - split->handleWidth(), kViewSplitMinSize)});
    ApplyTreeLimit();
}

void TWindowLayout::ApplyTreeLimit() {
    QSplitter* split = m_Widgets.ViewSplit;
    if (!split->isVisible()) {
        return;
    }
    const int panel = m_Vertical ? split->height() : split->width();
    const QList<int> sizes = split->sizes();
    const int limit = LimitTreeSize(sizes.value(0), panel, split->handleWidth());
    if (limit < sizes.value(0)) {
        split->setSizes({limit, panel - limit - split->handleWidth()});
    }
}

void TWindowLayout::ApplyBottomLimit() {
    // The status bar belongs to the bottom part but lies outside the splitter.
    const QWidget* menu = m_Window.menuWidget();
    const int client = m_Window.height() - (menu != nullptr && !menu->isHidden() ? menu->height() : 0);
    const QStatusBar* status = m_Window.statusBar();
    const int statusHeight = status->isHidden() ? 0 : status->height();
    const int most = MaxBottomHeight(client, m_Widgets.BottomSplit->handleWidth(), m_Bars->AreaHeight()) - statusHeight;
    m_Widgets.Bottom->setMaximumHeight(std::max(kBottomPanelMinHeight, most));
}

void TWindowLayout::SetCompact(bool on) {
    actCompact->setChecked(on);
    if (on == m_Compact) {
        return;
    }
    m_Compact = on;
    QWidget* bottom = m_Widgets.Bottom;
    QStatusBar* status = m_Window.statusBar();
    const bool keepSize = m_Window.isMaximized() || m_Window.isFullScreen();
    const int handle = m_Widgets.BottomSplit->handleWidth();
    if (on) {
        const int bottomHeight = bottom->height();
        m_StatusHeight = status->height();
        if (!keepSize) {
            m_BottomHeight = bottomHeight;
            // Compact at close writes no height: the one to come back to is kept now.
            if (m_Settings != nullptr) {
                m_Settings->Set(opt::Window::BottomPanelHeight, static_cast<std::int32_t>(bottomHeight));
            }
        }
        bottom->hide();
        status->hide();
        if (!keepSize) {
            m_Window.resize(m_Window.width(), m_Window.height() - bottomHeight - handle - m_StatusHeight);
        }
        return;
    }
    const int statusHeight = m_StatusHeight > 0 ? m_StatusHeight : status->sizeHint().height();
    if (!keepSize) {
        m_Window.resize(m_Window.width(), m_Window.height() + m_BottomHeight + handle + statusHeight);
    }
    bottom->show();
    status->show();
    const int total = m_Widgets.BottomSplit->height() + (keepSize ? 0 : m_BottomHeight + handle);
    m_Widgets.BottomSplit->setSizes({std::max(total - m_BottomHeight - handle, 1), m_BottomHeight});
}

void TWindowLayout::Restore() {
    THVWindow& w = m_Window;
    // Without a stored size, each follows the font: the window and the tree from the Windows
    // sizes, the count and sort panels from the widest text they show.
    const QFontMetrics metrics = w.fontMetrics();
    TWindowPlacement placement{w.x(), w.y(), ScaledToFont(900, metrics), ScaledToFont(600, metrics), false};
    if (const QScreen* screen = w.screen()) {
        placement.Width = std::min(placement.Width, screen->availableGeometry().width());
        placement.Height = std::min(placement.Height, screen->availableGeometry().height());
    }
    std::array<int, 4> widths = {ScaledToFont(160, metrics),
                                 PanelWidthFor(*m_Panels->Panel(1), {ItemCountText(100000, 100000)}),
                                 PanelWidthFor(*m_Panels->Panel(2), SortOrderTexts()), ScaledToFont(100, metrics)};
    m_TreeWidth = ScaledToFont(120, metrics);
    m_TreeHeight = ScaledToFont(100, metrics);
    m_BottomHeight = ScaledToFont(70, metrics);
    bool vertical = false;
    bool compact = false;
    const auto stored = [this](const auto& option) {
        return m_Settings->Registry().ValueExists(TableInfo(option.Table).KeyPath, option.Name);
    };
    if (m_Settings != nullptr) {
        if (auto text = ReadRestorePos(m_Settings->Registry(), RestorePosKeyName, "Rect")) {
            placement = ApplyRestorePos(*text, rpRestoreSize | rpRestoreState, placement);
            // A place on a screen that is gone would leave the window out of reach.
            if (QGuiApplication::screenAt(
                    QRect(placement.Left, placement.Top, placement.Width, placement.Height).center()) != nullptr) {
                w.move(placement.Left, placement.Top);
            }
        }
        if (stored(opt::Window::StatusPanelWidths)) {
            widths = ParsePanelWidths(QString::fromStdString(m_Settings->Get(opt::Window::StatusPanelWidths)));
        }
        if (stored(opt::Window::TreeWidth)) {
            m_TreeWidth = m_Settings->Get(opt::Window::TreeWidth);
        }
        if (stored(opt::Window::TreeHeight)) {
            m_TreeHeight = m_Settings->Get(opt::Window::TreeHeight);
        }
        if (stored(opt::Window::BottomPanelHeight)) {
            m_BottomHeight = m_Settings->Get(opt::Window::BottomPanelHeight);
        }
        vertical = m_Settings->Get(opt::Window::Vertical);
        compact = m_Settings->Get(opt::Window::Compact);
        m_Bars->Restore(*m_Settings);
    }
    m_BottomHeight = std::max(m_BottomHeight, kBottomPanelMinHeight);
    w.resize(std::max(placement.Width, 320), std::max(placement.Height, 240));
    if (placement.Maximized) {
        w.setWindowState(w.windowState() | Qt::WindowMaximized);
    }
    m_Panels->SetWidths(widths);
    m_Vertical = vertical;
    actVertical->setChecked(vertical);
    m_Widgets.ViewSplit->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
    const int tree = vertical ? m_TreeHeight : m_TreeWidth;
    m_Widgets.ViewSplit->setSizes({tree, std::max((vertical ? w.height() : w.width()) - tree, 100)});
    m_Widgets.BottomSplit->setSizes({std::max(w.height() - m_BottomHeight, 100), m_BottomHeight});
    // The stored size was the window's size in that mode: the bottom part goes without
    // shrinking the window.
    if (compact) {
        m_Compact = true;
        actCompact->setChecked(true);
        m_Widgets.Bottom->hide();
        w.statusBar()->hide();
    }
}

void TWindowLayout::Store() {
    if (m_Settings == nullptr) {
        return;
    }
    THVWindow& w = m_Window;
    m_Settings->Set(opt::Window::StatusPanelWidths, FormatPanelWidths(m_Panels->Widths()).toStdString());
    if (m_Vertical) {
        m_Settings->Set(opt::Window::TreeHeight, static_cast<std::int32_t>(TreeSize()));
    } else {
        m_Settings->Set(opt::Window::TreeWidth, static_cast<std::int32_t>(TreeSize()));
    }
    if (!m_Compact) {
        m_Settings->Set(opt::Window::BottomPanelHeight,
                        static_cast<std::int32_t>(m_Widgets.BottomSplit->sizes().value(1)));
    }
    m_Settings->Set(opt::Window::Compact, m_Compact);
    m_Settings->Set(opt::Window::Vertical, m_Vertical);
    m_Bars->Store(*m_Settings);
    // The place is the frame's, as move() takes it; the size is the client area's, as resize()
    // takes it. Storing the client area's place would let the window creep by its title bar on
    // every start.
    const QRect normal = w.normalGeometry();
    const QPoint frameOffset = w.geometry().topLeft() - w.pos();
    WriteRestorePos(
        m_Settings->Registry(), RestorePosKeyName, "Rect",
        {normal.x() - frameOffset.x(), normal.y() - frameOffset.y(), normal.width(), normal.height(), w.isMaximized()},
        rpRestoreSize | rpRestoreState);
}

bool TWindowLayout::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::StatusTip:
        if (watched == &m_Window) {
            m_Panels->ShowLongHint(static_cast<QStatusTipEvent*>(event)->tip());
            return true;
        }
        break;
    case QEvent::Resize:
        if (watched == m_Widgets.ViewSplit) {
            ApplyTreeLimit();
        } else if (watched == m_Widgets.BottomSplit) {
            ApplyBottomLimit();
        } else if (watched == m_Widgets.InfoPanel) {
            m_Widgets.URL->setMaximumWidth(std::max(0, m_Widgets.InfoPanel->width() - kURLLabelInset));
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == m_Widgets.InfoPanel || watched == m_Widgets.Title || watched == m_Widgets.URL) {
            QAction* prop = m_Window.ItemList().actItemProp;
            if (prop->isEnabled()) {
                prop->trigger();
            }
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hv

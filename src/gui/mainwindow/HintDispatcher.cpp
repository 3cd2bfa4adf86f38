#include "mainwindow/HintDispatcher.h"

#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/ListHintWindow.h"
#include "mainwindow/TreeHintWindow.h"
#include "model/HVFolder.h"
#include "properties/DisplaySettings.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>

namespace hv {

THintDispatcher::THintDispatcher(const TTargets& targets, QObject* parent)
    : QObject(parent), m_Targets(targets), m_TreeHint(new THVTreeHintWindow), m_ListHint(new THVListHintWindow) {
    m_TreeHint->setObjectName(QStringLiteral("TreeHintWindow"));
    m_ListHint->setObjectName(QStringLiteral("ListHintWindow"));
    qApp->installEventFilter(this);
}

THintDispatcher::~THintDispatcher() {
    qApp->removeEventFilter(this);
    delete m_TreeHint;
    delete m_ListHint;
}

void THintDispatcher::ApplySettings(TSettings& settings) {
    m_ShowTreeHint = settings.Get(opt::Window::ShowTreeHint);
    m_HidePause = settings.Get(opt::Main::HintHidePause);
    m_ListHint->SetTimeOptions(AccessTimeOptionsFromSettings(settings));
}

int THintDispatcher::MaxHintWidth(const QPoint& globalPos) const {
    const QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen == nullptr ? 400 : std::max(100, screen->geometry().width() / 3);
}

void THintDispatcher::HideRichHints() {
    m_TreeHint->hide();
    m_ListHint->hide();
}

bool THintDispatcher::TreeHintAt(const QPoint& pos) {
    QTreeView* tree = m_Targets.Tree;
    const QModelIndex index = tree->indexAt(pos);
    if (!m_ShowTreeHint || !index.isValid() || m_Targets.FolderModel == nullptr) {
        return false;
    }
    // Only over the icon and the label, not the empty rest of the row.
    const QRect row = tree->visualRect(index);
    const int iconWidth =
        tree->iconSize().isValid() ? tree->iconSize().width() : tree->style()->pixelMetric(QStyle::PM_SmallIconSize);
    const QString text = index.data().toString();
    const int right = row.left() + iconWidth + tree->fontMetrics().horizontalAdvance(text) + 12;
    THVFolder* folder = m_Targets.FolderModel->nodeFromIndex(index);
    if (pos.x() > right || folder == nullptr || text.isEmpty()) {
        return false;
    }
    QWidget* viewport = tree->viewport();
    const QPoint global = viewport->mapToGlobal(pos);
    m_TreeHint->CalcHintRect(MaxHintWidth(global), text, &folder->List());
    const QRect stay(viewport->mapToGlobal(QPoint(0, row.top())), QSize(viewport->width(), row.height()));
    m_ListHint->hide();
    m_TreeHint->ActivateHint(global + QPoint(0, 20), stay, m_HidePause);
    return true;
}

bool THintDispatcher::ListHintAt(QAbstractItemView* view, const QPoint& pos) {
    const QModelIndex index = view->indexAt(pos);
    THVItem* item =
        index.isValid() && m_Targets.ItemModel != nullptr ? m_Targets.ItemModel->nodeFromIndex(index) : nullptr;
    const QString text = index.isValid() ? index.siblingAtColumn(0).data().toString() : QString();
    if (item == nullptr || text.isEmpty()) {
        return false;
    }
    QWidget* viewport = view->viewport();
    QRect row = view->visualRect(index);
    // A report row's bounds span all its columns.
    if (qobject_cast<QTreeView*>(view) != nullptr) {
        row = QRect(0, row.top(), viewport->width(), row.height());
    }
    const QPoint global = viewport->mapToGlobal(pos);
    m_ListHint->CalcHintRect(MaxHintWidth(global), text, item);
    m_TreeHint->hide();
    m_ListHint->ActivateHint(global + QPoint(0, 20), QRect(viewport->mapToGlobal(row.topLeft()), row.size()),
                             m_HidePause);
    return true;
}

bool THintDispatcher::URLHint() {
    QLabel* label = m_Targets.URLLabel;
    const QString text = label->text();
    if (text.isEmpty() || label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width()) {
        return false;
    }
    QToolTip::showText(label->mapToGlobal(QPoint(-3, -3)), text, label, label->rect(), m_HidePause);
    return true;
}

bool THintDispatcher::RecentFileHint(QAbstractItemView* view, const QPoint& pos) {
    const QModelIndex index = view->indexAt(pos);
    const QString text = index.data().toString();
    if (text.isEmpty() || view->viewport()->width() >= view->fontMetrics().horizontalAdvance(text) + 4) {
        return false;
    }
    const QRect row = view->visualRect(index);
    QToolTip::showText(view->viewport()->mapToGlobal(row.topLeft()), text, view->viewport(), row, m_HidePause);
    return true;
}

bool THintDispatcher::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (m_TreeHint->isVisible() || m_ListHint->isVisible()) {
            const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            m_TreeHint->MouseAt(global);
            m_ListHint->MouseAt(global);
        }
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::WindowDeactivate:
        HideRichHints();
        return false;
    case QEvent::Leave:
        if (m_Targets.Tree != nullptr && watched == m_Targets.Tree->viewport()) {
            m_TreeHint->hide();
        } else if ((m_Targets.Report != nullptr && watched == m_Targets.Report->viewport()) ||
                   (m_Targets.Names != nullptr && watched == m_Targets.Names->viewport())) {
            m_ListHint->hide();
        }
        return false;
    case QEvent::ToolTip:
        break;
    default:
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) {
        return false;
    }
    const QPoint pos = static_cast<QHelpEvent*>(event)->pos();
    bool shown = false;
    if (m_Targets.Tree != nullptr && widget == m_Targets.Tree->viewport()) {
        shown = TreeHintAt(pos);
    } else if (m_Targets.Report != nullptr && widget == m_Targets.Report->viewport()) {
        shown = ListHintAt(m_Targets.Report, pos);
    } else if (m_Targets.Names != nullptr && widget == m_Targets.Names->viewport()) {
        shown = ListHintAt(m_Targets.Names, pos);
    } else if (widget == m_Targets.URLLabel) {
        shown = URLHint();
    } else if (auto* list = qobject_cast<QAbstractItemView*>(widget->parentWidget());
               list != nullptr && widget == list->viewport() && list->objectName() == QLatin1String("lsbRecentFiles")) {
        shown = RecentFileHint(list, pos);
    } else {
        // Anyone else's own hint, kept up for the hint hide pause.
        if (widget->toolTipDuration() < 0 || widget->toolTipDuration() != m_HidePause) {
            widget->setToolTipDuration(m_HidePause);
        }
        return false;
    }
    if (!shown) {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

} // namespace hv

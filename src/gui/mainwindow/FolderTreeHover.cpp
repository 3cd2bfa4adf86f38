#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/TreeButtonStyle.h"
#include "model/HVFolder.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QTreeView>

// The tree under the mouse and the keyboard: hover selection, hints for cut-off labels, clicks
// where hidden expand buttons would be, the context-menu keys and the folder command keys.

namespace hv {

THVFolder* TFolderTreeController::LabelFolderAt(const QPoint& pos) const {
    const QModelIndex index = m_Tree->indexAt(pos);
    if (!index.isValid()) {
        return nullptr;
    }
    // Only the icon and the text count, not the empty rest of the row.
    const QRect rect = m_Tree->visualRect(index);
    const int iconWidth = m_Tree->iconSize().isValid() ? m_Tree->iconSize().width()
                                                       : m_Tree->style()->pixelMetric(QStyle::PM_SmallIconSize);
    const int textWidth = m_Tree->fontMetrics().horizontalAdvance(index.data().toString());
    const int right =
        rect.left() + iconWidth + textWidth + 3 * m_Tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    return pos.x() <= right ? m_Model->nodeFromIndex(index) : nullptr;
}

void TFolderTreeController::OnHoverMove(const QPoint& pos) {
    m_HoverPos = pos;
    if (!m_HotTrack) {
        return;
    }
    THVFolder* folder = LabelFolderAt(pos);
    if (folder == m_HoverNode) {
        return;
    }
    m_HoverTimer.stop();
    m_HoverNode = folder;
    if (folder != nullptr) {
        m_HoverTimer.start();
    }
}

void TFolderTreeController::OnHoverTimer() {
    m_HoverTimer.stop();
    THVFolder* under = m_Tree->viewport()->underMouse() ? LabelFolderAt(m_HoverPos) : nullptr;
    const bool memoFocused = m_Memo != nullptr && m_Memo->hasFocus();
    // A label being edited keeps its folder.
    QWidget* focus = QApplication::focusWidget();
    const bool editing = focus != nullptr && focus != m_Tree && m_Tree->isAncestorOf(focus);
    if (m_HotTrack && m_Window->isActiveWindow() && !memoFocused && !editing && m_PopupTarget == nullptr &&
        under != nullptr && under == m_HoverNode) {
        m_Tree->setFocus();
        SelectFolder(under);
    }
    m_HoverNode = under;
}

bool TFolderTreeController::ShowLabelHint(const QPoint& pos) {
    const QModelIndex index = m_Tree->indexAt(pos);
    if (!m_ShowHints || !index.isValid()) {
        return false;
    }
    // A hint only for a label the tree cuts off.
    const QRect rect = m_Tree->visualRect(index);
    const int iconWidth = m_Tree->style()->pixelMetric(QStyle::PM_SmallIconSize);
    const QString text = index.data().toString();
    if (rect.left() + iconWidth + m_Tree->fontMetrics().horizontalAdvance(text) + 8 <= m_Tree->viewport()->width()) {
        return false;
    }
    QToolTip::showText(m_Tree->viewport()->mapToGlobal(pos), text, m_Tree->viewport(), rect);
    return true;
}

bool TFolderTreeController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_Tree->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove:
            OnHoverMove(static_cast<QMouseEvent*>(event)->position().toPoint());
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // Without expand buttons, a click where the button would be selects the folder
            // but does not open or close it.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const auto* style = dynamic_cast<TTreeButtonStyle*>(m_Tree->style());
            const QModelIndex index = m_Tree->indexAt(mouse->position().toPoint());
            if (style != nullptr && !style->ShowButtons && mouse->button() == Qt::LeftButton && index.isValid() &&
                mouse->position().x() < m_Tree->visualRect(index).left()) {
                m_Tree->setCurrentIndex(index);
                return true;
            }
            break;
        }
        case QEvent::Leave:
            m_HoverTimer.stop();
            m_HoverNode = nullptr;
            break;
        case QEvent::ToolTip:
            if (!ShowLabelHint(static_cast<QHelpEvent*>(event)->pos())) {
                QToolTip::hideText();
            }
            return true;
        case QEvent::ContextMenu: {
            const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
            OpenPopup(menuEvent->pos(), menuEvent->reason() == QContextMenuEvent::Keyboard);
            return true;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
    // Keys the label editor passes on (Enter, Insert, the menu key) are the editor's.
    QWidget* focus = m_Tree->focusWidget();
    const bool editing = focus != nullptr && focus != m_Tree && m_Tree->isAncestorOf(focus);
    if (watched == m_Tree && event->type() == QEvent::KeyPress && !editing) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
            (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
            OpenPopup(QPoint(0, 0), true);
            return true;
        }
        if (modifiers == Qt::NoModifier) {
            QAction* action = nullptr;
            switch (key->key()) {
            case Qt::Key_Insert:
                action = actAddFolder;
                break;
            case Qt::Key_Delete:
                action = actDeleteFolder;
                break;
            case Qt::Key_F2:
                action = actRenameFolder;
                break;
            default:
                break;
            }
            if (action != nullptr) {
                if (action->isEnabled()) {
                    action->trigger();
                }
                return true;
            }
        }
    }
    if (watched == m_Tree && event->type() == QEvent::ContextMenu) {
        // The keyboard's context menu, when it reaches the tree rather than its viewport.
        OpenPopup(QPoint(0, 0), true);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hv

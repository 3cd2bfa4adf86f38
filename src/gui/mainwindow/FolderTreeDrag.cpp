#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "model/HVFolder.h"

#include <QTreeView>

#include <algorithm>

// Moving a folder into another one, and the tree's part while something is dragged over it.

namespace hv {

THVFolder* TFolderTreeController::MoveFolderInto(THVFolder* source, THVFolder* target) {
    if (source == nullptr || target == nullptr || !TTreeEdits::CanMoveFolderInto(*source, *target)) {
        return nullptr;
    }
    // The list lets go of its rows before their items move.
    m_ChangeTimer.stop();
    emit folderShown(nullptr);
    m_History.Forget(source);
    m_Shown = nullptr;
    if (m_PopupTarget != nullptr && m_PopupTarget->IsInside(source)) {
        m_PopupTarget = nullptr;
    }
    std::vector<THVFolder*> receivers;
    THVFolder* receiver = m_Edits.MoveFolderInto(*source, *target, SortFolders(), &receivers);
    for (THVFolder* folder : receivers) {
        m_Tree->setExpanded(m_Model->IndexOf(folder), folder->Expanded());
    }
    m_Document.MarkModified();
    m_Navigating = true; // the move is not a visit
    SelectFolder(receiver);
    ShowFolder(receiver);
    m_Navigating = false;
    m_Tree->scrollTo(m_Model->IndexOf(receiver));
    UpdateHistoryActions();
    return receiver;
}

void TFolderTreeController::DragEnter() {
    m_DragHoverNode = nullptr;
    m_DragHoverCount = 0;
    const int rowHeight = std::max(1, m_Tree->visualRect(m_Tree->indexAt(QPoint(1, 1))).height());
    m_DragVisibleRows = m_Tree->viewport()->height() / rowHeight;
}

THVFolder* TFolderTreeController::DragOver(const QPoint& pos) {
    const QModelIndex index = m_Tree->indexAt(pos);
    THVFolder* folder = m_Model->nodeFromIndex(index);
    m_Model->SetDropHighlight(folder);
    if (folder != m_DragHoverNode) {
        m_DragHoverNode = folder;
        m_DragHoverCount = 0;
        return folder;
    }
    ++m_DragHoverCount;
    if (folder == nullptr) {
        return folder;
    }
    const QModelIndex top = m_Tree->indexAt(QPoint(1, 1));
    constexpr int kEdge = 12;
    if (m_DragVisibleRows > 4 && m_DragHoverCount >= Opt(opt::Window::TreeDragScrollDelay) && top.isValid()) {
        QModelIndex newTop;
        if (pos.y() < kEdge) {
            newTop = m_Tree->indexAbove(top);
        } else if (pos.y() > m_Tree->viewport()->height() - kEdge) {
            newTop = m_Tree->indexBelow(top);
        }
        if (newTop.isValid()) {
            m_Tree->scrollTo(newTop, QAbstractItemView::PositionAtTop);
            if (m_Tree->indexAt(QPoint(1, 1)) != top) {
                return folder;
            }
        }
    }
    if (m_DragHoverCount >= Opt(opt::Window::TreeDragExpandDelay)) {
        m_Tree->expand(index);
    }
    return folder;
}

void TFolderTreeController::DragLeave() {
    m_DragHoverNode = nullptr;
    m_DragHoverCount = 0;
    m_Model->SetDropHighlight(nullptr);
}

} // namespace hv

#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "model/HVFolder.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QTreeView>

// The folder commands, the tree's context menu and the drop-down menus of the folder history.

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void TFolderTreeController::CreateActions(QWidget* window) {
    auto make = [window](const QString& text, const QString& icon, QKeySequence key = {}) {
        auto* action = new QAction(QIcon::fromTheme(icon), text, window);
        action->setShortcut(key);
        window->addAction(action);
        return action;
    };
    actBackFolder = make(QStringLiteral("前のフォルダに戻る(&B)"), QStringLiteral("go-previous"),
                         QKeySequence(Qt::ALT | Qt::Key_Left));
    actNextFolder = make(QStringLiteral("次のフォルダへ進む(&N)"), QStringLiteral("go-next"),
                         QKeySequence(Qt::ALT | Qt::Key_Right));
    actAddFolder = make(QStringLiteral("追加(&A)..."), QStringLiteral("folder-new"));
    actRenameFolder = make(QStringLiteral("名前を変更(&R)..."), QStringLiteral("edit-rename"));
    actMoveFolderForward = make(QStringLiteral("１つ前へ移動(&F)"), QStringLiteral("go-up"));
    actMoveFolderBack = make(QStringLiteral("１つ後ろへ移動(&K)"), QStringLiteral("go-down"));
    actDeleteFolder = make(QStringLiteral("削除(&D)"), QStringLiteral("edit-delete"));
    actExpandSubFolder = make(QStringLiteral("サブフォルダを展開(&E)"), QString());
    actExpandAllFolder = make(QStringLiteral("全てのフォルダを展開(&X)"), QString());
    actBackFolder->setObjectName(QStringLiteral("actBackFolder"));
    actNextFolder->setObjectName(QStringLiteral("actNextFolder"));
    actAddFolder->setObjectName(QStringLiteral("actAddFolder"));
    actRenameFolder->setObjectName(QStringLiteral("actRenameFolder"));
    actMoveFolderForward->setObjectName(QStringLiteral("actMoveFolderForward"));
    actMoveFolderBack->setObjectName(QStringLiteral("actMoveFolderBack"));
    actDeleteFolder->setObjectName(QStringLiteral("actDeleteFolder"));
    connect(actBackFolder, &QAction::triggered, this, [this] { GoToHistory(m_History.Position() - 1); });
    connect(actNextFolder, &QAction::triggered, this, [this] { GoToHistory(m_History.Position() + 1); });
    connect(actAddFolder, &QAction::triggered, this, &TFolderTreeController::AddFolder);
    connect(actRenameFolder, &QAction::triggered, this, [this] {
        if (THVFolder* folder = CommandTarget(); folder != nullptr && folder != m_Model->Root()) {
            m_Tree->edit(m_Model->IndexOf(folder));
        }
    });
    connect(actMoveFolderForward, &QAction::triggered, this, [this] { MoveFolder(-1); });
    connect(actMoveFolderBack, &QAction::triggered, this, [this] { MoveFolder(1); });
    connect(actDeleteFolder, &QAction::triggered, this, &TFolderTreeController::DeleteFolder);
    connect(actExpandSubFolder, &QAction::triggered, this, &TFolderTreeController::ExpandSubFolders);
    connect(actExpandAllFolder, &QAction::triggered, this, &TFolderTreeController::ExpandAllFolders);

    // Alt with these keys selects a folder wherever the focus is.
    const std::pair<QKeyCombination, void (TFolderTreeController::*)()> keys[] = {
        {Qt::ALT | Qt::Key_PageUp, &TFolderTreeController::SelectRootFolder},
        {Qt::ALT | Qt::Key_PageDown, &TFolderTreeController::SelectLastFolder},
        {Qt::ALT | Qt::Key_Up, &TFolderTreeController::SelectPreviousFolder},
        {Qt::ALT | Qt::Key_Down, &TFolderTreeController::SelectNextFolder},
    };
    for (const auto& [key, slot] : keys) {
        QAction* action = make(QString(), QString(), QKeySequence(key));
        connect(action, &QAction::triggered, this, slot);
    }
    UpdateActions();
    UpdateHistoryActions();
}

void TFolderTreeController::FillMenu(QMenu* menu) const {
    menu->addAction(actBackFolder);
    menu->addAction(actNextFolder);
    menu->addSeparator();
    menu->addAction(actAddFolder);
    menu->addAction(actRenameFolder);
    menu->addAction(actMoveFolderForward);
    menu->addAction(actMoveFolderBack);
    menu->addAction(actDeleteFolder);
    menu->addSeparator();
    menu->addAction(actExpandSubFolder);
    menu->addAction(actExpandAllFolder);
}

void TFolderTreeController::OpenPopup(const QPoint& pos, bool byKeyboard) {
    QPoint at = pos;
    THVFolder* target = nullptr;
    if (byKeyboard) {
        at = QPoint(0, 0);
    } else {
        target = m_Model->nodeFromIndex(m_Tree->indexAt(pos));
    }
    if (target == nullptr) {
        target = SelectedFolder();
    } else if (Opt(opt::Window::TreeRClickSelect)) {
        SelectFolder(target);
    } else {
        m_Model->SetDropHighlight(target);
    }
    m_PopupTarget = target;
    m_HoverTimer.stop();
    UpdateActions();
    TreeViewPopup->exec(m_Tree->viewport()->mapToGlobal(at));
    m_Model->SetDropHighlight(nullptr);
    ScheduleMenuReset();
}

void TFolderTreeController::ScheduleMenuReset() {
    if (m_ResetPending) {
        return;
    }
    m_ResetPending = true;
    // Runs once the event that closed the menu, and the command it chose, are done.
    QTimer::singleShot(0, this, &TFolderTreeController::ResetMenus);
}

void TFolderTreeController::ResetMenus() {
    m_ResetPending = false;
    if (TreeViewPopup->isVisible()) {
        return;
    }
    m_PopupTarget = nullptr;
    for (QMenu* menu : {RecentFolderPopup1, RecentFolderPopup2}) {
        if (!menu->isVisible()) {
            menu->clear();
        }
    }
    UpdateActions();
}

void TFolderTreeController::FillHistoryMenu(QMenu* menu, bool back) {
    menu->clear();
    int k = 0;
    for (const int i : m_History.MenuEntries(back)) {
        THVFolder* folder = m_History.At(i);
        if (folder == nullptr) {
            menu->addAction(QString())->setEnabled(false);
        } else {
            const QIcon icon = m_Model->data(m_Model->IndexOf(folder), Qt::DecorationRole).value<QIcon>();
            menu->addAction(icon, HistoryMenuCaption(Q(folder->Name()), k), this, [this, i] { GoToHistory(i); });
        }
        ++k;
    }
}

} // namespace hv

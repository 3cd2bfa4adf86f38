#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/SelectFolderDlg.h"
#include "model/FolderPath.h"
#include "model/HVFolder.h"
#include "model/TreeEdits.h"
#include "platform/UserPrompts.h"

#include <QLabel>
#include <QTreeView>

// The folder edits of the folder commands; the tree edits of the core do the work.

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void TFolderTreeController::AddFolder() {
    THVFolder* root = m_Model->Root();
    if (root == nullptr) {
        return;
    }
    TSelectFolderDlg dialog(m_Prompts, m_Settings, m_Window);
    bool confirmed = false;
    if (m_RunPicker) {
        dialog.Load(TSelectFolderDlg::TMode::AddFolder, root, SelectedFolder(), m_Shown);
        confirmed = m_RunPicker(dialog);
    } else {
        confirmed = dialog.Execute(TSelectFolderDlg::TMode::AddFolder, root, SelectedFolder(), m_Shown);
    }
    THVFolder* parent = dialog.ChosenFolder();
    if (confirmed && parent != nullptr) {
        AddFolderUnder(parent, dialog.Name());
    }
}

THVFolder* TFolderTreeController::AddFolderUnder(THVFolder* parent, const std::string& name) {
    THVFolder* folder = m_Edits.AddFolder(*parent, name, SortFolders());
    if (folder == nullptr) {
        return nullptr;
    }
    m_Tree->expand(m_Model->IndexOf(parent));
    m_Document.MarkModified();
    UpdateActions();
    return folder;
}

bool TFolderTreeController::RenameFolder(THVFolder* folder, const QString& text) {
    const TRenameResult result = m_Edits.RenameFolder(*folder, text.toStdString(), SortFolders());
    if (!result.Message.empty()) {
        m_Prompts.Warning(result.Message);
    }
    if (!result.Changed) {
        return false;
    }
    if (folder == m_Shown) {
        m_FolderPanel->setText(FullPath() ? Q(FolderPath(*folder)) : Q(folder->Name()));
    }
    m_Document.MarkModified();
    UpdateActions();
    return true;
}

void TFolderTreeController::DeleteFolder() {
    THVFolder* folder = CommandTarget();
    if (folder == nullptr || folder == m_Model->Root()) {
        return;
    }
    const QString question =
        QStringLiteral("フォルダ '%1' とそのサブフォルダ・アイテムを全て削除します。よろしいですか？")
            .arg(Q(folder->Name()));
    if (!m_Prompts.YesNo(question.toStdString(), "フォルダの削除")) {
        return;
    }
    DeleteFolderWithoutAsking(folder);
}

void TFolderTreeController::DeleteFolderWithoutAsking(THVFolder* folder) {
    if (folder == nullptr || folder == m_Model->Root()) {
        return;
    }
    m_History.Forget(folder);
    if (m_Shown != nullptr && m_Shown->IsInside(folder)) {
        m_Shown = nullptr;
    }
    if (m_PopupTarget != nullptr && m_PopupTarget->IsInside(folder)) {
        m_PopupTarget = nullptr;
    }
    m_Edits.DeleteFolder(*folder);
    m_Document.MarkModified();
    UpdateHistoryActions();
    UpdateActions();
}

void TFolderTreeController::MoveFolder(int delta) {
    THVFolder* folder = SelectedFolder();
    if (folder == nullptr || SortFolders() || !m_Edits.MoveFolder(*folder, delta)) {
        return;
    }
    m_Tree->scrollTo(m_Model->IndexOf(folder));
    m_Document.MarkModified();
    UpdateActions();
}

} // namespace hv

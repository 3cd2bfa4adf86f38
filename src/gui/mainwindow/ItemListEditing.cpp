#include "document/HVDocument.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/ItemListViews.h"
#include "mainwindow/SelectFolderDlg.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/TreeEdits.h"
#include "platform/UserPrompts.h"
#include "properties/ItemPropDlg.h"

#include <QLabel>
#include <QTreeView>

#include <algorithm>
#include <optional>

// The item edits: properties, add, delete, rename, move and copy; the tree edits of the core do
// the work.

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QString DeleteItemQuestion(const QString& name) {
    return QStringLiteral("アイテム '%1' を削除してよろしいですか？").arg(name);
}

QString DeleteItemsQuestion(int count) {
    return QStringLiteral("選択されている %1 個のアイテムを削除してよろしいですか？").arg(count);
}

bool TItemListController::EditCurrentItem() {
    UpdateActions();
    THVItem* item = m_Current;
    if (!actItemProp->isEnabled() || item == nullptr || m_Folder == nullptr) {
        return false;
    }
    StoreMemo();
    if (!m_RunDialog(ItemDialog(), item, m_Folder->List())) {
        return false;
    }
    m_Edits.ItemChanged(*item);
    // The memo box and the info panel show what the dialog wrote.
    if (m_Current == item) {
        OnCurrentChanged(m_List->currentIndex());
    }
    if (SortShownItems()) {
        m_Views->Current()->scrollTo(m_List->currentIndex());
    }
    m_Document.MarkModified();
    return true;
}

bool TItemListController::AddItem() {
    if (m_Folder == nullptr) {
        return false;
    }
    StoreMemo();
    TItemPropDlg& dialog = ItemDialog();
    if (!m_RunDialog(dialog, nullptr, m_Folder->List())) {
        return false;
    }
    THVItem* item = m_Edits.AddItem(m_Folder->List(), dialog.WorkItem());
    SortShownItems();
    SelectRow(m_Model->IndexOf(item).row());
    FitColumns();
    m_Document.MarkModified();
    return true;
}

void TItemListController::DeleteSelectedItems() {
    const std::vector<THVItem*> items = SelectedItems();
    if (items.empty()) {
        return;
    }
    const QString question = items.size() == 1 ? DeleteItemQuestion(Q(items.front()->GetName()))
                                               : DeleteItemsQuestion(static_cast<int>(items.size()));
    if (!m_Prompts.AskYesNo(question.toStdString(), kDeleteItemTitle)) {
        return;
    }
    DeleteItemsWithoutAsking(items);
}

void TItemListController::DeleteItemsWithoutAsking(const std::vector<THVItem*>& items) {
    if (items.empty()) {
        return;
    }
    if (std::find(items.begin(), items.end(), m_Current) != items.end()) {
        m_MemoDirty = false;
        m_Current = nullptr;
    }
    m_Edits.DeleteItems(items);
    m_Document.MarkModified();
    RowsRemoved();
}

bool TItemListController::RenameItem(THVItem* item, const QString& text) {
    if (item == nullptr) {
        return false;
    }
    const TRenameResult result = m_Edits.RenameItem(*item, text.toStdString());
    if (!result.Message.empty()) {
        m_Prompts.Warning(result.Message);
    }
    if (!result.Changed) {
        return false;
    }
    if (item == m_Current) {
        m_Title->setText(Q(item->GetName()));
    }
    SortShownItems();
    FitColumns();
    m_Document.MarkModified();
    return true;
}

bool TItemListController::RunPicker(int mode, const QString& name, THVFolder*& folder, std::string& chosenName) {
    TSelectFolderDlg dialog(m_Prompts, m_Settings, m_Window);
    const auto pickerMode = static_cast<TSelectFolderDlg::TMode>(mode);
    if (m_RunPicker) {
        dialog.Load(pickerMode, &m_Document.Root(), m_Folder, m_Folder, name);
        if (!m_RunPicker(dialog)) {
            return false;
        }
    } else if (!dialog.Execute(pickerMode, &m_Document.Root(), m_Folder, m_Folder, name)) {
        return false;
    }
    folder = dialog.ChosenFolder();
    chosenName = dialog.Name();
    return folder != nullptr;
}

void TItemListController::MoveSelectedItems() {
    const std::vector<THVItem*> items = SelectedItems();
    if (items.empty() || m_Folder == nullptr) {
        return;
    }
    StoreMemo();
    const bool one = items.size() == 1;
    THVFolder* target = nullptr;
    std::string name;
    if (!RunPicker(one ? 1 : 2, one ? Q(items.front()->GetName()) : QString(), target, name) || target == m_Folder) {
        return;
    }
    if (std::find(items.begin(), items.end(), m_Current) != items.end()) {
        m_Current = nullptr;
    }
    m_Edits.MoveItems(items, *target, one ? std::optional<std::string>(name) : std::nullopt);
    m_Document.MarkModified();
    RowsRemoved();
}

void TItemListController::MoveItemsTo(const std::vector<THVItem*>& items, THVFolder* target) {
    if (items.empty() || target == nullptr || target == m_Folder) {
        return;
    }
    StoreMemo();
    if (std::find(items.begin(), items.end(), m_Current) != items.end()) {
        m_Current = nullptr;
    }
    m_Edits.MoveItems(items, *target);
    m_Document.MarkModified();
    RowsRemoved();
}

void TItemListController::CopySelectedItems() {
    const std::vector<THVItem*> items = SelectedItems();
    if (items.empty() || m_Folder == nullptr) {
        return;
    }
    StoreMemo();
    const bool one = items.size() == 1;
    THVFolder* target = nullptr;
    std::string name;
    if (!RunPicker(one ? 3 : 4, one ? Q(items.front()->GetName()) : QString(), target, name)) {
        return;
    }
    m_Edits.CopyItems(items, *target, one ? std::optional<std::string>(name) : std::nullopt);
    if (target == m_Folder && SortShownItems()) {
        FitColumns();
    }
    m_Document.MarkModified();
}

} // namespace hv

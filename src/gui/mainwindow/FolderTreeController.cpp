#include "mainwindow/FolderTreeController.h"

#include "document/HVDocument.h"
#include "mainwindow/FolderTreeModel.h"
#include "model/FolderPath.h"
#include "model/HVFolder.h"
#include "platform/UserPrompts.h"
#include "settings/Settings.h"
#include "text/TextUtil.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTreeView>

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The folder after folder in pre-order, or the one before it.
THVFolder* LastDescendant(THVFolder* folder) {
    while (folder->ChildCount() > 0) {
        folder = folder->Child(folder->ChildCount() - 1);
    }
    return folder;
}

THVFolder* PreviousInTree(THVFolder* folder) {
    THVFolder* parent = folder->Parent();
    if (parent == nullptr) {
        return nullptr;
    }
    const int index = parent->IndexOfChild(folder);
    return index == 0 ? parent : LastDescendant(parent->Child(index - 1));
}

} // namespace

QString DuplicateFolderMessage(const QString& name) {
    return QStringLiteral("フォルダ名 '%1' は既に使われています。\n\n１つのフォルダに同じ名前のサブフォルダを複数作る"
                          "ことはできません。半角アルファベットの大文字・小文字は同一視されます。")
        .arg(name);
}

std::string CleanFolderName(const QString& text) {
    std::string name = StripControlChars(text.toStdString());
    std::string cleaned;
    cleaned.reserve(name.size());
    for (const char c : name) {
        if (c == '\\') {
            cleaned += "￥";
        } else {
            cleaned += c;
        }
    }
    return cleaned;
}

TFolderTreeController::TFolderTreeController(QTreeView* tree, TFolderTreeModel* model, THVDocument& document,
                                             TUserPrompts& prompts, TSettings* settings, QLabel* folderPanel,
                                             QWidget* window)
    : QObject(window), m_Tree(tree), m_Model(model), m_Document(document), m_Prompts(prompts), m_Settings(settings),
      m_FolderPanel(folderPanel) {
    m_Tree->setModel(m_Model);
    m_Tree->setHeaderHidden(true);
    m_Tree->setEditTriggers(QAbstractItemView::SelectedClicked);
    m_Tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_Tree->installEventFilter(this);
    if (m_Settings != nullptr) {
        m_Tree->setRootIsDecorated(m_Settings->Get(opt::Window::ShowTreeRoot));
        m_Tree->setIndentation(std::max(0, m_Settings->Get(opt::Window::TreeNodeIndent)));
        m_ChangeTimer.setInterval(std::max(0, m_Settings->Get(opt::Window::TreeChangeDelay)));
    } else {
        m_Tree->setRootIsDecorated(false);
    }
    m_ChangeTimer.setSingleShot(true);
    m_Model->SetRenameHandler([this](THVFolder* folder, const QString& text) { return RenameFolder(folder, text); });

    CreateActions(window);
    connect(&m_ChangeTimer, &QTimer::timeout, this, [this] { ShowFolder(SelectedFolder()); });
    connect(m_Tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnCurrentChanged(current); });
    connect(m_Tree, &QTreeView::expanded, this, [this](const QModelIndex& index) { OnExpandedChanged(index, true); });
    connect(m_Tree, &QTreeView::collapsed, this, [this](const QModelIndex& index) { OnExpandedChanged(index, false); });
    connect(m_Tree, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        m_PopupTarget = m_Model->nodeFromIndex(m_Tree->indexAt(pos));
        if (m_PopupTarget == nullptr) {
            m_PopupTarget = SelectedFolder();
        } else if (m_Settings == nullptr || m_Settings->Get(opt::Window::TreeRClickSelect)) {
            SelectFolder(m_PopupTarget);
        }
        UpdateActions();
        QMenu menu;
        FillMenu(&menu);
        menu.exec(m_Tree->viewport()->mapToGlobal(pos));
        m_PopupTarget = nullptr;
        UpdateActions();
    });
}

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

bool TFolderTreeController::SortFolders() const {
    return m_Settings != nullptr && m_Settings->Get(opt::Main::SortFolder);
}

bool TFolderTreeController::FullPath() const {
    return m_Settings != nullptr && m_Settings->Get(opt::Window::FolderFullPath);
}

THVFolder* TFolderTreeController::SelectedFolder() const {
    return m_Model->nodeFromIndex(m_Tree->currentIndex());
}

THVFolder* TFolderTreeController::CommandTarget() const {
    return m_PopupTarget != nullptr ? m_PopupTarget : SelectedFolder();
}

void TFolderTreeController::SelectFolder(THVFolder* folder) {
    const QModelIndex index = m_Model->IndexOf(folder);
    if (index.isValid()) {
        m_Tree->setCurrentIndex(index);
        m_Tree->scrollTo(index);
    }
}

void TFolderTreeController::OnCurrentChanged(const QModelIndex& /*current*/) {
    if (m_Resetting) {
        return;
    }
    if (m_Navigating || m_ChangeTimer.interval() == 0) {
        m_ChangeTimer.stop();
        ShowFolder(SelectedFolder());
    } else {
        m_ChangeTimer.start();
    }
}

void TFolderTreeController::ShowFolder(THVFolder* folder) {
    m_Shown = folder;
    if (folder == nullptr) {
        m_FolderPanel->clear();
    } else {
        m_FolderPanel->setText(FullPath() ? Q(FolderPath(*folder)) : Q(folder->Name()));
    }
    emit folderShown(folder);
    UpdateActions();
    if (folder != nullptr && !m_Navigating) {
        m_History.Push(folder);
        UpdateHistoryActions();
    }
}

void TFolderTreeController::GoToHistory(int index) {
    THVFolder* folder = m_History.At(index);
    if (folder == nullptr) {
        m_Prompts.Information(kFolderNotFoundMessage);
        return;
    }
    m_Navigating = true;
    SelectFolder(folder);
    if (m_Shown != folder) {
        ShowFolder(folder);
    }
    m_History.SetPosition(index);
    m_Navigating = false;
    UpdateHistoryActions();
}

void TFolderTreeController::UpdateActions() {
    THVFolder* target = CommandTarget();
    const bool notRoot = target != nullptr && target != m_Model->Root();
    actRenameFolder->setEnabled(notRoot);
    actDeleteFolder->setEnabled(notRoot);
    THVFolder* selected = SelectedFolder();
    THVFolder* parent = selected == nullptr ? nullptr : selected->Parent();
    const int index = parent == nullptr ? -1 : parent->IndexOfChild(selected);
    actMoveFolderForward->setEnabled(!SortFolders() && parent != nullptr && index > 0);
    actMoveFolderBack->setEnabled(!SortFolders() && parent != nullptr && index + 1 < parent->ChildCount());
}

void TFolderTreeController::UpdateHistoryActions() {
    actBackFolder->setEnabled(m_History.CanGoBack());
    actNextFolder->setEnabled(m_History.CanGoForward());
}

void TFolderTreeController::OnExpandedChanged(const QModelIndex& index, bool expanded) {
    THVFolder* folder = m_Model->nodeFromIndex(index);
    if (folder == nullptr || m_Resetting) {
        return;
    }
    if (folder == m_Model->Root() && !expanded) {
        // The root stays open.
        m_Tree->expand(index);
        return;
    }
    folder->SetExpanded(expanded);
}

void TFolderTreeController::ApplyExpandedStates() {
    THVFolder* root = m_Model->Root();
    if (root == nullptr) {
        return;
    }
    ForEachFolder(*root, [this, root](THVFolder& folder, int) {
        if (folder.ChildCount() > 0) {
            m_Tree->setExpanded(m_Model->IndexOf(&folder), &folder == root || folder.Expanded());
        }
    });
}

void TFolderTreeController::RootAboutToChange() {
    m_ChangeTimer.stop();
    m_Resetting = true;
    if (m_Model->Root() != nullptr) {
        AnnounceFreed(m_Model->Root());
    }
    m_Shown = nullptr;
    m_History.Clear();
    m_Model->BeginReset();
}

void TFolderTreeController::RootChanged(THVFolder* selected) {
    m_Model->EndReset(&m_Document.Root());
    ApplyExpandedStates();
    m_Tree->scrollToTop();
    // Shown once below, as the first entry of the new history.
    SelectFolder(selected != nullptr ? selected : &m_Document.Root());
    m_Resetting = false;
    m_ChangeTimer.stop();
    ShowFolder(SelectedFolder());
    UpdateHistoryActions();
}

void TFolderTreeController::TreeAboutToChange() {
    m_Resetting = true;
    m_Model->BeginReset();
}

void TFolderTreeController::TreeChanged() {
    THVFolder* shown = m_Shown;
    m_Model->EndReset(&m_Document.Root());
    ApplyExpandedStates();
    m_Resetting = false;
    m_Navigating = true; // the same folder again: no new history entry
    SelectFolder(shown != nullptr ? shown : &m_Document.Root());
    ShowFolder(SelectedFolder());
    m_Navigating = false;
}

void TFolderTreeController::AnnounceFreed(THVFolder* folder) {
    ForEachFolder(*folder, [this](THVFolder& f, int) {
        for (const auto& item : f.List()) {
            emit itemAboutToBeFreed(item.get());
        }
    });
    emit folderAboutToBeFreed(folder);
}

void TFolderTreeController::AddFolder() {
    THVFolder* parent = SelectedFolder();
    if (parent == nullptr) {
        return;
    }
    // Until the folder picker comes, the new folder goes under the selected one with a free
    // name, and its label opens for editing.
    std::string name = "新しいフォルダ";
    for (int n = 2; parent->FindChild(name) != nullptr; ++n) {
        name = "新しいフォルダ (" + std::to_string(n) + ")";
    }
    THVFolder* folder = AddFolderUnder(parent, name);
    m_Tree->edit(m_Model->IndexOf(folder));
}

THVFolder* TFolderTreeController::AddFolderUnder(THVFolder* parent, const std::string& name) {
    THVFolder* folder = m_Model->AddFolder(parent, name, SortFolders());
    m_Tree->expand(m_Model->IndexOf(parent));
    m_Document.MarkModified();
    UpdateActions();
    return folder;
}

bool TFolderTreeController::RenameFolder(THVFolder* folder, const QString& text) {
    const std::string name = CleanFolderName(text);
    if (name.empty()) {
        m_Prompts.Warning(kEmptyNameMessage);
        return false;
    }
    if (name == folder->Name()) {
        return false;
    }
    const THVFolder* same = folder->Parent() == nullptr ? nullptr : folder->Parent()->FindChild(name);
    if (same != nullptr && same != folder) {
        m_Prompts.Warning(DuplicateFolderMessage(Q(name)).toStdString());
        return false;
    }
    m_Model->RenameFolder(folder, name, SortFolders());
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
    AnnounceFreed(folder);
    m_History.Forget(folder);
    if (m_Shown != nullptr && m_Shown->IsInside(folder)) {
        m_Shown = nullptr;
    }
    if (m_PopupTarget != nullptr && m_PopupTarget->IsInside(folder)) {
        m_PopupTarget = nullptr;
    }
    m_Model->DeleteFolder(folder);
    m_Document.MarkModified();
    UpdateHistoryActions();
    UpdateActions();
}

void TFolderTreeController::MoveFolder(int delta) {
    THVFolder* folder = SelectedFolder();
    if (folder == nullptr || SortFolders() || !m_Model->MoveFolder(folder, delta)) {
        return;
    }
    m_Tree->scrollTo(m_Model->IndexOf(folder));
    m_Document.MarkModified();
    UpdateActions();
}

void TFolderTreeController::ExpandSubFolders() {
    if (THVFolder* folder = SelectedFolder()) {
        m_Tree->expandRecursively(m_Model->IndexOf(folder));
    }
}

void TFolderTreeController::ExpandAllFolders() {
    m_Tree->expandAll();
}

void TFolderTreeController::SelectRootFolder() {
    SelectFolder(m_Model->Root());
}

void TFolderTreeController::SelectLastFolder() {
    if (m_Model->Root() != nullptr) {
        SelectFolder(LastDescendant(m_Model->Root()));
    }
}

void TFolderTreeController::SelectPreviousFolder() {
    if (THVFolder* folder = SelectedFolder()) {
        if (THVFolder* previous = PreviousInTree(folder)) {
            SelectFolder(previous);
        }
    }
}

void TFolderTreeController::SelectNextFolder() {
    if (THVFolder* folder = SelectedFolder()) {
        if (THVFolder* next = folder->NextInTree(nullptr)) {
            SelectFolder(next);
        }
    }
}

bool TFolderTreeController::eventFilter(QObject* watched, QEvent* event) {
    // While a label is edited the editor has the keys, so they never reach the tree here.
    if (watched == m_Tree && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
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
            case Qt::Key_Menu:
                emit m_Tree->customContextMenuRequested(QPoint(0, 0));
                return true;
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
    return QObject::eventFilter(watched, event);
}

} // namespace hv

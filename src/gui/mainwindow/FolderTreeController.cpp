#include "mainwindow/FolderTreeController.h"

#include "document/HVDocument.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/TreeButtonStyle.h"
#include "model/FolderPath.h"
#include "model/HVFolder.h"
#include "model/TreeEdits.h"
#include "platform/UserPrompts.h"

#include <QAction>
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

constexpr int kHoverDelay = 500;

} // namespace

TFolderTreeController::TFolderTreeController(QTreeView* tree, TFolderTreeModel* model, THVDocument& document,
                                             TTreeEdits& edits, TUserPrompts& prompts, TSettings* settings,
                                             QLabel* folderPanel, QWidget* window)
    : QObject(window), m_Tree(tree), m_Model(model), m_Document(document), m_Edits(edits), m_Prompts(prompts),
      m_Settings(settings), m_FolderPanel(folderPanel), m_Window(window) {
    m_Tree->setModel(m_Model);
    m_Tree->setHeaderHidden(true);
    m_Tree->setEditTriggers(QAbstractItemView::SelectedClicked);
    m_Tree->setMouseTracking(true);
    m_Tree->setStyle(new TTreeButtonStyle);
    m_Tree->style()->setParent(m_Tree);
    m_Tree->installEventFilter(this);
    m_Tree->viewport()->installEventFilter(this);
    m_ChangeTimer.setSingleShot(true);
    m_HoverTimer.setSingleShot(true);
    m_HoverTimer.setInterval(kHoverDelay);
    ApplySettings();
    m_Model->SetRenameHandler([this](THVFolder* folder, const QString& text) { return RenameFolder(folder, text); });

    CreateActions(window);
    TreeViewPopup = new QMenu(window);
    TreeViewPopup->setObjectName(QStringLiteral("TreeViewPopup"));
    FillMenu(TreeViewPopup);
    RecentFolderPopup1 = new QMenu(window);
    RecentFolderPopup1->setObjectName(QStringLiteral("RecentFolderPopup1"));
    RecentFolderPopup2 = new QMenu(window);
    RecentFolderPopup2->setObjectName(QStringLiteral("RecentFolderPopup2"));
    connect(RecentFolderPopup1, &QMenu::aboutToShow, this, [this] { FillHistoryMenu(RecentFolderPopup1, true); });
    connect(RecentFolderPopup2, &QMenu::aboutToShow, this, [this] { FillHistoryMenu(RecentFolderPopup2, false); });
    for (QMenu* menu : {TreeViewPopup, RecentFolderPopup1, RecentFolderPopup2}) {
        connect(menu, &QMenu::aboutToHide, this, &TFolderTreeController::ScheduleMenuReset);
    }

    connect(&m_ChangeTimer, &QTimer::timeout, this, [this] { ShowFolder(SelectedFolder()); });
    connect(&m_HoverTimer, &QTimer::timeout, this, &TFolderTreeController::OnHoverTimer);
    connect(m_Tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TFolderTreeController::OnCurrentChanged);
    connect(m_Tree, &QTreeView::expanded, this, [this](const QModelIndex& index) { OnExpandedChanged(index, true); });
    connect(m_Tree, &QTreeView::collapsed, this, [this](const QModelIndex& index) { OnExpandedChanged(index, false); });
}

void TFolderTreeController::ApplySettings() {
    if (auto* style = dynamic_cast<TTreeButtonStyle*>(m_Tree->style())) {
        style->ShowButtons = Opt(opt::Window::ShowTreeBtn);
    }
    m_Tree->setRootIsDecorated(Opt(opt::Window::ShowTreeRoot));
    m_Tree->setIndentation(std::max(0, Opt(opt::Window::TreeNodeIndent)));
    m_ChangeTimer.setInterval(std::max(0, Opt(opt::Window::TreeChangeDelay)));
    m_ShowHints = Opt(opt::Window::ShowTreeHint);
    m_AutoExpand = Opt(opt::Window::TreeAutoExpand);
    m_HotTrack = Opt(opt::Window::TreeHotTrack);
    if (!m_HotTrack) {
        m_HoverTimer.stop();
        m_HoverNode = nullptr;
    }
    m_Tree->viewport()->update();
    if (m_Shown != nullptr) {
        m_FolderPanel->setText(FullPath() ? Q(FolderPath(*m_Shown)) : Q(m_Shown->Name()));
    }
    if (SortFolders() && m_Model->Root() != nullptr) {
        m_Edits.SortAllChildren(*m_Model->Root());
    }
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

void TFolderTreeController::OpenFolderNow(THVFolder* folder) {
    SelectFolder(folder);
    m_ChangeTimer.stop();
    if (folder != nullptr && m_Shown != folder && SelectedFolder() == folder) {
        ShowFolder(folder);
    }
}

void TFolderTreeController::OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (m_Resetting) {
        return;
    }
    m_Model->SetOpenFolder(m_Model->nodeFromIndex(current));
    if (m_AutoExpand && current.isValid()) {
        // One branch open at a time: the new folder opens, the one left closes unless it holds
        // the new one.
        m_Tree->expand(current);
        const THVFolder* left = m_Model->nodeFromIndex(previous);
        const THVFolder* now = m_Model->nodeFromIndex(current);
        if (left != nullptr && left != m_Model->Root() && now != nullptr && !now->IsInside(left)) {
            m_Tree->collapse(previous);
        }
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
    m_Model->SetOpenFolder(SelectedFolder());
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
        m_Edits.AnnounceFreed(*m_Model->Root());
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

} // namespace hv

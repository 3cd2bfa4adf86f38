#include "mainwindow/FolderTreeController.h"

#include "document/HVDocument.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/SelectFolderDlg.h"
#include "model/FolderPath.h"
#include "model/HVFolder.h"
#include "platform/UserPrompts.h"
#include "text/TextUtil.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStyleOption>
#include <QToolTip>
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

// The tree's branch drawing without the expand buttons, for ShowTreeBtn off.
class TTreeButtonStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    bool ShowButtons = true;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_IndicatorBranch && !ShowButtons) {
            QStyleOption plain(*option);
            plain.state &= ~(State_Children | State_Open);
            QProxyStyle::drawPrimitive(element, &plain, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

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
      m_FolderPanel(folderPanel), m_Window(window) {
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
    if (SortFolders() && m_Model->Root() != nullptr) {
        THVFolder* root = m_Model->Root();
        ForEachFolder(*root, [this](THVFolder& folder, int) {
            if (folder.ChildCount() > 1) {
                m_Model->SortChildren(&folder);
            }
        });
    }
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
    // While a label is edited the editor has the keys, so they never reach the tree here.
    if (watched == m_Tree && event->type() == QEvent::KeyPress) {
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

#include "mainwindow/ItemListController.h"

#include "document/HVDocument.h"
#include "launch/LaunchSettings.h"
#include "launch/OpenURL.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/ItemCommandMenu.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/ItemListViews.h"
#include "mainwindow/SelectFolderDlg.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "platform/Clock.h"
#include "platform/LinuxShellLauncher.h"
#include "platform/NmcliConnections.h"
#include "platform/UserPrompts.h"
#include "properties/DisplaySettings.h"
#include "properties/ItemPropDlg.h"
#include "properties/PropDlgServices.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTreeView>

#include <algorithm>
#include <array>

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Memos keep Windows line breaks; the memo box works with "\n".
QString MemoForEditing(const std::string& memo) {
    QString text = Q(memo);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string MemoForStoring(const QString& text) {
    QString memo = text;
    memo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    memo.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return memo.toStdString();
}

} // namespace

QString DeleteItemQuestion(const QString& name) {
    return QStringLiteral("アイテム '%1' を削除してよろしいですか？").arg(name);
}

QString DeleteItemsQuestion(int count) {
    return QStringLiteral("選択されている %1 個のアイテムを削除してよろしいですか？").arg(count);
}

QString DuplicateItemMessage(const QString& name) {
    return QStringLiteral(
               "アイテム名 '%1' は既に使われています。\n\n１つのフォルダに同じ名前のアイテムを複数作ることはで"
               "きません。半角アルファベットの大文字・小文字は同一視されます。")
        .arg(name);
}

QString ItemCountText(int rows, int selected) {
    return QStringLiteral("%1個 (%2個選択)").arg(rows).arg(selected);
}

QString SortOrderText(const TItemOrder& order) {
    QString text;
    switch (order.SortType) {
    case TItemOrder::ByURL:
        text = QStringLiteral("URL順");
        break;
    case TItemOrder::ByLastVisited:
        text = QStringLiteral("アクセス日時順");
        break;
    default:
        text = QStringLiteral("名前順");
        break;
    }
    return text + (order.SortDescending ? QStringLiteral("（降順）") : QStringLiteral("（昇順）"));
}

std::string CleanItemName(const QString& text) {
    QString name;
    name.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 32) {
            name += c;
        }
    }
    return name.toStdString();
}

TItemListController::TItemListController(const TWidgets& widgets, THVDocument& document, TUserPrompts& prompts,
                                         TSettings* settings, QWidget* window)
    : QObject(window), m_List(widgets.List), m_Memo(widgets.Memo), m_Title(widgets.Title), m_URL(widgets.URL),
      m_CountPanel(widgets.CountPanel), m_SortPanel(widgets.SortPanel), m_Document(document), m_Prompts(prompts),
      m_Settings(settings), m_Model(new TItemListModel(this)),
      m_Views(new TItemListViews(widgets.List, widgets.Names, m_Model, this)),
      m_OwnShell(std::make_unique<TLinuxShellLauncher>()), m_OwnNetwork(std::make_unique<TNmcliConnections>()),
      m_Shell(m_OwnShell.get()), m_Network(m_OwnNetwork.get()), m_Window(window) {
    m_RunDialog = [](TItemPropDlg& dialog, THVItem* item, const THVList& list) { return dialog.Execute(item, list); };
    m_Model->SetDefaultIcon(
        QIcon::fromTheme(QStringLiteral("text-html"), window->style()->standardIcon(QStyle::SP_FileLinkIcon)));
    m_Model->SetRenameHandler([this](THVItem* item, const QString& text) { return RenameItem(item, text); });
    m_List->setSortingEnabled(false);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(m_List), static_cast<QAbstractItemView*>(widgets.Names)}) {
        if (view == nullptr) {
            continue;
        }
        view->installEventFilter(this);
        // ListViewPopup: at the mouse for a right click, at the list's corner for the menu key.
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
            UpdateActions();
            m_Popup->popup(view->viewport()->mapToGlobal(pos));
        });
    }
    m_Memo->installEventFilter(this);
    connect(m_List->header(), &QHeaderView::sectionClicked, this, &TItemListController::OnHeaderClicked);
    connect(m_List->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnCurrentChanged(current); });
    connect(m_List->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        UpdateActions();
        UpdateCountPanel();
    });
    connect(m_Model, &QAbstractItemModel::rowsInserted, this, &TItemListController::UpdateCountPanel);
    connect(m_Model, &QAbstractItemModel::rowsRemoved, this, &TItemListController::UpdateCountPanel);
    connect(m_Views, &TItemListViews::itemActivated, this, [this](Qt::KeyboardModifiers mods) {
        if (mods == Qt::NoModifier) {
            OpenCurrentItem();
        } else if (mods == Qt::AltModifier) {
            EditCurrentItem();
        }
    });
    connect(m_Memo, &QPlainTextEdit::textChanged, this, &TItemListController::OnMemoChanged);
    CreateActions(window);
    m_CommandMenu = new TItemCommandMenu(
        actOpenItem, [this] { return m_Current; }, [this](const TCmdItem& command) { RunCommand(command); }, this);
    m_Popup = new QMenu(window);
    m_Popup->setObjectName(QStringLiteral("ListViewPopup"));
    FillMenu(m_Popup);
    ReadOptions();
    if (m_Settings != nullptr) {
        if (!AutoResizeColumns()) {
            m_Views->SetColumnWidths(
                ParseColumnWidths(QString::fromStdString(m_Settings->Get(opt::Window::ColumnWidths))));
        }
        SetReportView(m_Settings->Get(opt::Window::ViewReport));
    }
    SortChanged();
    OnCurrentChanged({});
}

TItemListController::~TItemListController() {
    // The dialog uses the services this controller owns; it goes first.
    delete m_PropDlg;
}

void TItemListController::CreateActions(QWidget* window) {
    auto make = [window](const char* text, const char* name) {
        auto* action = new QAction(QString::fromUtf8(text), window);
        action->setObjectName(QString::fromUtf8(name));
        return action;
    };
    actOpenItem = make("開く(&O)", "actOpenItem");
    actOpenItem->setIcon(QIcon::fromTheme(QStringLiteral("internet-web-browser"),
                                          window->style()->standardIcon(QStyle::SP_DialogOpenButton)));
    connect(actOpenItem, &QAction::triggered, this, [this] { OpenCurrentItem(); });
    actItemProp = make("プロパティ(&R)...", "actItemProp");
    connect(actItemProp, &QAction::triggered, this, [this] { EditCurrentItem(); });
    actAddItem = make("追加(&A)...", "actAddItem");
    actAddItem->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Insert));
    connect(actAddItem, &QAction::triggered, this, [this] { AddItem(); });
    actMoveItem = make("他のフォルダに移動(&M)...", "actMoveItem");
    connect(actMoveItem, &QAction::triggered, this, &TItemListController::MoveSelectedItems);
    actCopyItem = make("他のフォルダにコピー(&C)...", "actCopyItem");
    connect(actCopyItem, &QAction::triggered, this, &TItemListController::CopySelectedItems);
    actDeleteItem = make("削除(&D)", "actDeleteItem");
    connect(actDeleteItem, &QAction::triggered, this, &TItemListController::DeleteSelectedItems);
    actViewReport = make("詳細表示(&T)", "actViewReport");
    actViewReport->setCheckable(true);
    actViewReport->setChecked(true);
    connect(actViewReport, &QAction::triggered, this, [this](bool checked) { SetReportView(checked); });

    actNameOrder = make("名前順(&N)", "actNameOrder");
    actURLOrder = make("URL順(&U)", "actURLOrder");
    actDateOrder = make("アクセス日時順(&D)", "actDateOrder");
    auto* types = new QActionGroup(this);
    int type = 0;
    for (QAction* action : {actNameOrder, actURLOrder, actDateOrder}) {
        action->setCheckable(true);
        types->addAction(action);
        connect(action, &QAction::triggered, this, [this, type] { SetSortType(type); });
        ++type;
    }
    actAscending = make("昇順(&A)", "actAscending");
    actDescending = make("降順(&E)", "actDescending");
    auto* directions = new QActionGroup(this);
    for (QAction* action : {actAscending, actDescending}) {
        action->setCheckable(true);
        directions->addAction(action);
    }
    connect(actAscending, &QAction::triggered, this, [this] { SetSortDescending(false); });
    connect(actDescending, &QAction::triggered, this, [this] { SetSortDescending(true); });
}

void TItemListController::FillMenu(QMenu* menu) {
    menu->addAction(actOpenItem);
    menu->addAction(actItemProp);
    menu->addSeparator();
    menu->addAction(actAddItem);
    menu->addAction(actMoveItem);
    menu->addAction(actCopyItem);
    menu->addAction(actDeleteItem);
    menu->addSeparator();
    QMenu* sort = menu->addMenu(QStringLiteral("並べ替え(&S)"));
    sort->addAction(actNameOrder);
    sort->addAction(actURLOrder);
    sort->addAction(actDateOrder);
    sort->addSeparator();
    sort->addAction(actAscending);
    sort->addAction(actDescending);
    m_CommandMenu->Attach(menu, [this] { UpdateActions(); });
}

void TItemListController::SetLaunchers(TShellLauncher* shell, TNetworkConnections* network) {
    m_Shell = shell != nullptr ? shell : m_OwnShell.get();
    m_Network = network != nullptr ? network : m_OwnNetwork.get();
}

void TItemListController::ReadOptions() {
    ApplyDisplaySettings();
    if (m_Settings == nullptr) {
        m_Model->SetOptions(TAccessTimeOptions{}, TItemColorOptions{});
        return;
    }
    m_Order.SortType = std::clamp(static_cast<int>(m_Settings->Get(opt::Main::SortType)), 0, 2);
    m_Order.SortDescending = m_Settings->Get(opt::Main::SortDescending);
    m_Order.NewItemAtBottom = m_Settings->Get(opt::Main::NewItemAtBottom);
    m_Model->SetOptions(AccessTimeOptionsFromSettings(*m_Settings), ItemColorOptionsFromSettings(*m_Settings));
}

std::vector<THVItem*> TItemListController::SelectedItems() const {
    QModelIndexList rows = m_List->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<THVItem*> items;
    items.reserve(static_cast<std::size_t>(rows.size()));
    for (const QModelIndex& row : rows) {
        items.push_back(m_Model->nodeFromIndex(row));
    }
    return items;
}

void TItemListController::ShowFolder(THVFolder* folder) {
    StoreMemo();
    m_Current = nullptr;
    m_Folder = folder;
    ReadOptions();
    m_Model->SetList(folder == nullptr ? nullptr : &folder->List(), m_Order);
    if (m_Model->rowCount() > 0) {
        SelectRow(0);
    } else {
        OnCurrentChanged({});
    }
    FitColumns();
    UpdateActions();
    UpdateCountPanel();
}

void TItemListController::SelectRow(int row) {
    const QModelIndex index = m_Model->index(row, 0);
    m_List->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_Views->Current()->scrollTo(index);
}

void TItemListController::ApplyDisplaySettings() {
    if (m_Settings == nullptr) {
        m_Views->SetHotTrack(opt::Window::ListHotTrack.Default, opt::Window::ListHotTrackStyle.Default);
        m_Views->SetSingleClickOpen(opt::Main::SingleClickOpen.Default);
        return;
    }
    m_Views->SetHotTrack(m_Settings->Get(opt::Window::ListHotTrack), m_Settings->Get(opt::Window::ListHotTrackStyle));
    m_Views->SetSingleClickOpen(m_Settings->Get(opt::Main::SingleClickOpen));
}

bool TItemListController::AutoResizeColumns() const {
    return m_Settings == nullptr || m_Settings->Get(opt::Window::AutoResizeColumns);
}

void TItemListController::FitColumns() {
    m_Views->FitColumns(AutoResizeColumns());
}

void TItemListController::SetReportView(bool on) {
    m_Views->SetReportView(on);
    actViewReport->setChecked(m_Views->ReportView());
}

void TItemListController::StoreLayout() {
    if (m_Settings == nullptr) {
        return;
    }
    m_Settings->Set(opt::Window::ViewReport, m_Views->ReportView());
    m_Settings->Set(opt::Window::ColumnWidths, m_Views->ColumnWidthsText().toStdString());
}

void TItemListController::OnCurrentChanged(const QModelIndex& current) {
    THVItem* item = m_Model->nodeFromIndex(current);
    if (item != m_Current) {
        StoreMemo();
    }
    m_Current = item;
    m_LoadingMemo = true;
    m_Memo->setPlainText(item == nullptr ? QString() : MemoForEditing(item->GetMemo()));
    m_LoadingMemo = false;
    m_MemoDirty = false;
    m_Memo->setReadOnly(item == nullptr);
    m_Title->setText(item == nullptr ? QString() : Q(item->GetName()));
    m_URL->setText(item == nullptr ? QString() : Q(item->GetURL()));
    UpdateActions();
}

void TItemListController::OnMemoChanged() {
    if (m_LoadingMemo || m_Current == nullptr) {
        return;
    }
    // Written back at once: a save from the tool bar does not take the focus from the memo box,
    // and must not leave the latest typing out of the file.
    m_Current->SetMemo(MemoForStoring(m_Memo->toPlainText()));
    m_MemoDirty = false;
    m_Document.MarkModified();
}

void TItemListController::StoreMemo() {
    if (m_MemoDirty && m_Current != nullptr) {
        m_Current->SetMemo(MemoForStoring(m_Memo->toPlainText()));
    }
    m_MemoDirty = false;
}

void TItemListController::OnHeaderClicked(int section) {
    if (section == m_Order.SortType) {
        SetSortDescending(!m_Order.SortDescending);
    } else {
        SetSortType(section);
    }
}

void TItemListController::SetSortType(int type) {
    m_Order.SortType = std::clamp(type, 0, 2);
    m_Order.SortDescending = false;
    SortChanged();
}

void TItemListController::SetSortDescending(bool descending) {
    m_Order.SortDescending = descending;
    SortChanged();
}

void TItemListController::SortChanged() {
    if (m_Settings != nullptr) {
        m_Settings->Set(opt::Main::SortType, static_cast<std::int32_t>(m_Order.SortType));
        m_Settings->Set(opt::Main::SortDescending, m_Order.SortDescending);
        m_Order.NewItemAtBottom = m_Settings->Get(opt::Main::NewItemAtBottom);
    }
    m_SortPanel->setText(SortOrderText(m_Order));
    const std::array<QAction*, 3> types{actNameOrder, actURLOrder, actDateOrder};
    types.at(static_cast<std::size_t>(m_Order.SortType))->setChecked(true);
    (m_Order.SortDescending ? actDescending : actAscending)->setChecked(true);
    m_List->header()->setSortIndicator(m_Order.SortType,
                                       m_Order.SortDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
    if (m_Model->rowCount() > 1) {
        m_Model->Sort(m_Order);
        if (m_List->currentIndex().isValid()) {
            m_Views->Current()->scrollTo(m_List->currentIndex());
        }
    }
}

void TItemListController::UpdateActions() {
    const QModelIndex current = m_List->currentIndex();
    const bool focusedSelected = current.isValid() && m_List->selectionModel()->isRowSelected(current.row());
    actOpenItem->setEnabled(focusedSelected);
    actItemProp->setEnabled(focusedSelected);
    actAddItem->setEnabled(m_Folder != nullptr);
    const bool selected = m_List->selectionModel()->hasSelection();
    actMoveItem->setEnabled(selected);
    actCopyItem->setEnabled(selected);
    actDeleteItem->setEnabled(selected);
}

void TItemListController::UpdateCountPanel() {
    m_CountPanel->setText(
        ItemCountText(m_Model->rowCount(), static_cast<int>(m_List->selectionModel()->selectedRows().size())));
}

bool TItemListController::OpenCurrentItem() {
    UpdateActions();
    if (!actOpenItem->isEnabled() || m_Current == nullptr) {
        return false;
    }
    THVItem* item = m_Current;
    const TLaunchOptions options = m_Settings != nullptr ? LaunchOptionsFromSettings(*m_Settings) : TLaunchOptions{};
    const TLaunchServices services{m_Prompts, *m_Shell, *m_Network, Clock()};
    if (!OpenURL(item->GetURL(), options, services)) {
        return false;
    }
    // The prompts may have let events run; the item must still be the one shown.
    if (m_Current == item) {
        RecordAccess(*item);
    }
    return true;
}

void TItemListController::RecordAccess(THVItem& item) {
    hv::RecordAccess(item, Clock(), [this](THVItem& visited) {
        m_Model->RefreshItem(&visited);
        m_Document.MarkModified();
    });
}

TItemPropDlg& TItemListController::ItemDialog() {
    if (m_PropDlg == nullptr) {
        TSettings* settings = m_Settings;
        if (settings == nullptr) {
            m_OwnStore = std::make_unique<TMemoryRegistryStore>();
            m_OwnSettings = std::make_unique<TSettings>(*m_OwnStore);
            settings = m_OwnSettings.get();
        }
        m_PropServices = std::make_unique<TPropDlgServices>(TPropDlgServices{
            *settings, m_Prompts, [this](const std::string& commandLine) {
                const TLaunchOptions options =
                    m_Settings != nullptr ? LaunchOptionsFromSettings(*m_Settings) : TLaunchOptions{};
                OpenURL(commandLine, options, TLaunchServices{m_Prompts, *m_Shell, *m_Network, Clock()});
            }});
        m_PropDlg = new TItemPropDlg(*m_PropServices, m_Window);
    }
    return *m_PropDlg;
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
    m_Model->RefreshItem(item);
    // The memo box and the info panel show what the dialog wrote.
    if (m_Current == item) {
        OnCurrentChanged(m_List->currentIndex());
    }
    if (m_Model->rowCount() > 1) {
        m_Model->Sort(m_Order);
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
    THVItem* item = m_Model->AddItem();
    item->Assign(dialog.WorkItem());
    if (m_Model->rowCount() > 1) {
        m_Model->Sort(m_Order);
    }
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
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        THVItem* item = *it;
        if (item == m_Current) {
            m_MemoDirty = false;
            m_Current = nullptr;
        }
        emit itemAboutToBeFreed(item);
        m_Model->DeleteItem(item);
    }
    m_Document.MarkModified();
    RowsRemoved();
}

void TItemListController::RowsRemoved() {
    // The row that takes the focus becomes the current item.
    OnCurrentChanged(m_List->currentIndex());
    UpdateCountPanel();
}

bool TItemListController::RenameItem(THVItem* item, const QString& text) {
    if (item == nullptr || item->Owner() == nullptr) {
        return false;
    }
    const std::string name = CleanItemName(text);
    if (name.empty()) {
        m_Prompts.Warning(kEmptyNameMessage);
        return false;
    }
    if (name == item->GetName()) {
        return false;
    }
    if (!item->Owner()->IsNameFree(item, name)) {
        m_Prompts.Warning(DuplicateItemMessage(Q(name)).toStdString());
        return false;
    }
    item->SetName(name);
    if (item == m_Current) {
        m_Title->setText(Q(name));
    }
    m_Model->RefreshItem(item);
    if (m_Model->rowCount() > 1) {
        m_Model->Sort(m_Order);
    }
    FitColumns();
    m_Document.MarkModified();
    return true;
}

bool TItemListController::RunCommand(const TCmdItem& command) {
    THVItem* item = m_Current;
    const TLaunchOptions options = m_Settings != nullptr ? LaunchOptionsFromSettings(*m_Settings) : TLaunchOptions{};
    if (!OpenURL(command.CommandLine, options, TLaunchServices{m_Prompts, *m_Shell, *m_Network, Clock()})) {
        return false;
    }
    if (command.UpdateLastVisited && item != nullptr && m_Current == item) {
        RecordAccess(*item);
    }
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
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        THVItem* old = *it;
        THVItem* moved = target->List().Add();
        moved->Assign(*old);
        if (one) {
            moved->SetName(name);
        }
        MakeUniqueName(*moved);
        if (old == m_Current) {
            m_Current = nullptr;
        }
        emit itemMoved(old, moved, target);
        m_Model->DeleteItem(old);
    }
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
    const bool shown = target == m_Folder;
    for (THVItem* source : items) {
        THVItem* copy = shown ? m_Model->AddItem() : target->List().Add();
        copy->Assign(*source);
        if (one) {
            copy->SetName(name);
        }
        // Unique like every other way in: renaming, merging and finding tell items by name.
        MakeUniqueName(*copy);
        if (shown) {
            m_Model->RefreshItem(copy);
        }
    }
    if (shown && m_Model->rowCount() > 1) {
        m_Model->Sort(m_Order);
        FitColumns();
    }
    m_Document.MarkModified();
}

bool TItemListController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_Memo && event->type() == QEvent::FocusOut) {
        StoreMemo();
    }
    if (!m_Views->IsView(watched) || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    // While a name is being edited the keys go to the editor, not to the list.
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods == Qt::NoModifier) {
            OpenCurrentItem();
            return true;
        }
        if (mods == Qt::AltModifier) {
            EditCurrentItem();
            return true;
        }
        break;
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier) {
            AddItem();
            return true;
        }
        break;
    case Qt::Key_Delete:
        if (mods == Qt::NoModifier) {
            DeleteSelectedItems();
            return true;
        }
        break;
    case Qt::Key_F2:
        if (mods == Qt::NoModifier) {
            const std::vector<THVItem*> items = SelectedItems();
            if (!items.empty()) {
                m_Views->Current()->edit(m_Model->IndexOf(items.front()));
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

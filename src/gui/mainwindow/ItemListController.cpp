#include "mainwindow/ItemListController.h"

#include "document/HVDocument.h"
#include "launch/LaunchSettings.h"
#include "launch/OpenURL.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/ItemListModel.h"
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
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
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
      m_Settings(settings), m_Model(new TItemListModel(this)), m_OwnShell(std::make_unique<TLinuxShellLauncher>()),
      m_OwnNetwork(std::make_unique<TNmcliConnections>()), m_Shell(m_OwnShell.get()), m_Network(m_OwnNetwork.get()),
      m_Window(window) {
    m_RunDialog = [](TItemPropDlg& dialog, THVItem* item, const THVList& list) { return dialog.Execute(item, list); };
    m_Model->SetDefaultIcon(
        QIcon::fromTheme(QStringLiteral("text-html"), window->style()->standardIcon(QStyle::SP_FileLinkIcon)));
    m_Model->SetRenameHandler([this](THVItem* item, const QString& text) { return RenameItem(item, text); });
    m_List->setModel(m_Model);
    m_List->setRootIsDecorated(false);
    m_List->setUniformRowHeights(true);
    m_List->setAllColumnsShowFocus(true);
    m_List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_List->setSortingEnabled(false);
    m_List->header()->setSectionsClickable(true);
    m_List->header()->setSortIndicatorShown(true);
    m_List->installEventFilter(this);
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
    connect(m_List, &QAbstractItemView::doubleClicked, this, [this] {
        const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
        if (mods == Qt::NoModifier) {
            OpenCurrentItem();
        } else if (mods == Qt::AltModifier) {
            EditCurrentItem();
        }
    });
    connect(m_Memo, &QPlainTextEdit::textChanged, this, &TItemListController::OnMemoChanged);
    CreateActions(window);
    // ListViewPopup: at the mouse for a right click, at the list's corner for the menu key.
    m_Popup = new QMenu(window);
    m_Popup->setObjectName(QStringLiteral("ListViewPopup"));
    FillMenu(m_Popup);
    m_List->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_List, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        UpdateActions();
        m_Popup->popup(m_List->viewport()->mapToGlobal(pos));
    });
    ReadOptions();
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
    connect(actOpenItem, &QAction::triggered, this, [this] { OpenCurrentItem(); });
    actItemProp = make("プロパティ(&R)...", "actItemProp");
    connect(actItemProp, &QAction::triggered, this, [this] { EditCurrentItem(); });
    actAddItem = make("追加(&A)...", "actAddItem");
    connect(actAddItem, &QAction::triggered, this, [this] { AddItem(); });
    actDeleteItem = make("削除(&D)", "actDeleteItem");
    connect(actDeleteItem, &QAction::triggered, this, &TItemListController::DeleteSelectedItems);

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

void TItemListController::FillMenu(QMenu* menu) const {
    menu->addAction(actOpenItem);
    menu->addAction(actItemProp);
    menu->addSeparator();
    menu->addAction(actAddItem);
    menu->addAction(actDeleteItem);
    menu->addSeparator();
    QMenu* sort = menu->addMenu(QStringLiteral("並べ替え(&S)"));
    sort->addAction(actNameOrder);
    sort->addAction(actURLOrder);
    sort->addAction(actDateOrder);
    sort->addSeparator();
    sort->addAction(actAscending);
    sort->addAction(actDescending);
}

void TItemListController::SetLaunchers(TShellLauncher* shell, TNetworkConnections* network) {
    m_Shell = shell != nullptr ? shell : m_OwnShell.get();
    m_Network = network != nullptr ? network : m_OwnNetwork.get();
}

void TItemListController::ReadOptions() {
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
    if (m_Settings == nullptr || m_Settings->Get(opt::Window::AutoResizeColumns)) {
        for (int column = 0; column < TItemListModel::ColumnCount; ++column) {
            m_List->resizeColumnToContents(column);
        }
    }
    UpdateActions();
    UpdateCountPanel();
}

void TItemListController::SelectRow(int row) {
    const QModelIndex index = m_Model->index(row, 0);
    m_List->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_List->scrollTo(index);
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
            m_List->scrollTo(m_List->currentIndex());
        }
    }
}

void TItemListController::UpdateActions() {
    const QModelIndex current = m_List->currentIndex();
    const bool focusedSelected = current.isValid() && m_List->selectionModel()->isRowSelected(current.row());
    actOpenItem->setEnabled(focusedSelected);
    actItemProp->setEnabled(focusedSelected);
    actAddItem->setEnabled(m_Folder != nullptr);
    actDeleteItem->setEnabled(m_List->selectionModel()->hasSelection());
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
            *settings, m_Prompts,
            [](QWidget* parent, const QString& title, const QString& start, const QString& filter) {
                return QFileDialog::getOpenFileName(parent, title, start, filter);
            },
            [this](const std::string& commandLine) {
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
        m_List->scrollTo(m_List->currentIndex());
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
    if (m_Settings == nullptr || m_Settings->Get(opt::Window::AutoResizeColumns)) {
        for (int column = 0; column < TItemListModel::ColumnCount; ++column) {
            m_List->resizeColumnToContents(column);
        }
    }
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
    if (m_Settings == nullptr || m_Settings->Get(opt::Window::AutoResizeColumns)) {
        m_List->resizeColumnToContents(TItemListModel::ColName);
    }
    m_Document.MarkModified();
    return true;
}

bool TItemListController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_Memo && event->type() == QEvent::FocusOut) {
        StoreMemo();
    }
    if (watched != m_List || event->type() != QEvent::KeyPress) {
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
                m_List->edit(m_Model->IndexOf(items.front()));
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

#include "mainwindow/ItemListController.h"

#include "document/HVDocument.h"
#include "launch/LaunchSettings.h"
#include "launch/OpenURL.h"
#include "mainwindow/ItemCommandMenu.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/ItemListViews.h"
#include "mainwindow/SelectFolderDlg.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/Names.h"
#include "model/TreeEdits.h"
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

} // namespace

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

TItemListController::TItemListController(const TWidgets& widgets, THVDocument& document, TTreeEdits& edits,
                                         TUserPrompts& prompts, TSettings* settings, QWidget* window)
    : QObject(window), m_List(widgets.List), m_Memo(widgets.Memo), m_Title(widgets.Title), m_URL(widgets.URL),
      m_CountPanel(widgets.CountPanel), m_SortPanel(widgets.SortPanel), m_Document(document), m_Edits(edits),
      m_Prompts(prompts), m_Settings(settings), m_Model(new TItemListModel(this)),
      m_Views(new TItemListViews(widgets.List, widgets.Names, m_Model, this)),
      m_OwnShell(std::make_unique<TLinuxShellLauncher>()), m_OwnNetwork(std::make_unique<TNmcliConnections>()),
      m_Shell(m_OwnShell.get()), m_Network(m_OwnNetwork.get()), m_Window(window) {
    m_RunDialog = [](TItemPropDlg& dialog, THVItem* item, const THVList& list) { return dialog.Execute(item, list); };
    m_Model->SetDefaultIcon(
        QIcon::fromTheme(QStringLiteral("text-html"), window->style()->standardIcon(QStyle::SP_FileLinkIcon)));
    m_Model->SetRenameHandler([this](THVItem* item, const QString& text) { return RenameItem(item, text); });
    m_Edits.AddObserver(m_Model);
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

bool TItemListController::SelectItem(const THVItem* item) {
    const QModelIndex index = m_Model->IndexOf(item);
    if (!index.isValid()) {
        return false;
    }
    SelectRow(index.row());
    return true;
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

void TItemListController::ApplySettings() {
    ReadOptions();
    SortShownItems();
    FitColumns();
    m_Views->Current()->viewport()->update();
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
    m_Memo->setPlainText(item == nullptr ? QString() : Q(MemoForEditing(item->GetMemo())));
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
    m_Current->SetMemo(MemoForStoring(m_Memo->toPlainText().toStdString()));
    m_MemoDirty = false;
    m_Document.MarkModified();
}

void TItemListController::StoreMemo() {
    if (m_MemoDirty && m_Current != nullptr) {
        m_Current->SetMemo(MemoForStoring(m_Memo->toPlainText().toStdString()));
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
    if (SortShownItems() && m_List->currentIndex().isValid()) {
        m_Views->Current()->scrollTo(m_List->currentIndex());
    }
}

bool TItemListController::SortShownItems() {
    if (m_Model->List() == nullptr || m_Model->rowCount() < 2) {
        return false;
    }
    m_Edits.SortItems(*m_Model->List(), m_Order);
    return true;
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

void TItemListController::RowsRemoved() {
    // The row that takes the focus becomes the current item.
    OnCurrentChanged(m_List->currentIndex());
    UpdateCountPanel();
}

} // namespace hv

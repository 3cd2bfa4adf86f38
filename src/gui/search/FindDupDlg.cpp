#include "search/FindDupDlg.h"

#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "search/ResultModels.h"
#include "search/SearchSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace hv {

TFindDupDlg::TFindDupDlg(THVWindow& window, TItemNotices* notices, TSettings* settings, const TRowIcons& icons)
    : QDialog(&window), m_Window(window), m_Settings(settings), m_Subscription(notices, &m_Results) {
    setObjectName(QStringLiteral("FindDupDlg"));
    setWindowTitle(QStringLiteral("重複URLの検索"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(true);
    m_Model = new TDupResultModel(m_Results, icons, this);
    CreateControls();
    RestorePlacement(this, m_Settings, "FindDupDlgRect", rpRestoreSize);
    RangeChanged();
    SelectionChanged();
}

TFindDupDlg::~TFindDupDlg() {
    // The model refers to the rows, which go before the children do.
    m_List->setModel(nullptr);
    delete m_Model;
}

void TFindDupDlg::CreateControls() {
    auto* range = new QGroupBox(QStringLiteral("検索の範囲"));
    range->setObjectName(QStringLiteral("grpRange"));
    m_rdbFolder = new QRadioButton(QStringLiteral("現在開いているフォルダ(&U)"));
    m_rdbFolder->setObjectName(QStringLiteral("rdbFolder"));
    m_chkSubFolders = new QCheckBox(QStringLiteral("サブフォルダを含める(&B)"));
    m_chkSubFolders->setObjectName(QStringLiteral("chkSubFolders"));
    m_chkSubFolders->setChecked(true);
    m_rdbAll = new QRadioButton(QStringLiteral("すべてのフォルダ(&A)"));
    m_rdbAll->setObjectName(QStringLiteral("rdbAll"));
    m_rdbAll->setChecked(true);
    m_chkCommands = new QCheckBox(QStringLiteral("コマンドも調べる(&M)"));
    m_chkCommands->setObjectName(QStringLiteral("chkCommands"));
    m_chkCommands->setChecked(true);
    auto* rangeLayout = new QGridLayout(range);
    rangeLayout->addWidget(m_rdbFolder, 0, 0);
    rangeLayout->addWidget(m_chkSubFolders, 0, 1);
    rangeLayout->addWidget(m_rdbAll, 1, 0);
    rangeLayout->addWidget(m_chkCommands, 2, 0, 1, 2);
    connect(m_rdbFolder, &QRadioButton::toggled, this, &TFindDupDlg::RangeChanged);

    m_btnSearch = new QPushButton(QStringLiteral("検索(&F)"));
    m_btnSearch->setObjectName(QStringLiteral("btnSearch"));
    m_btnSearch->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("閉じる(&C)"));
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setAutoDefault(false);
    connect(m_btnSearch, &QPushButton::clicked, this, &TFindDupDlg::StartSearch);
    connect(m_btnCancel, &QPushButton::clicked, this, &TFindDupDlg::close);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_btnSearch);
    buttons->addWidget(m_btnCancel);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(range, 1);
    top->addLayout(buttons);

    m_lblStatus = new QLabel;
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_List = new QTreeView;
    m_List->setObjectName(QStringLiteral("ListView"));
    m_List->setModel(m_Model);
    SetUpResultList(m_List, m_Settings);
    auto* listLabel = new QLabel(QStringLiteral("リスト(&L)"));
    listLabel->setBuddy(m_List);
    connect(m_List->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFindDupDlg::SelectionChanged);
    connect(m_Model, &QAbstractItemModel::rowsRemoved, this, &TFindDupDlg::SelectionChanged);
    connect(m_Model, &QAbstractItemModel::modelReset, this, &TFindDupDlg::SelectionChanged);
    connect(m_List, &QTreeView::doubleClicked, this, &TFindDupDlg::OpenResult);

    m_btnOpenFolder = new QPushButton(QStringLiteral("フォルダを開く(&O)"));
    m_btnOpenFolder->setObjectName(QStringLiteral("btnOpenFolder"));
    m_btnOpenFolder->setAutoDefault(false);
    m_btnDelete = new QPushButton(QStringLiteral("リストから削除(&D)"));
    m_btnDelete->setObjectName(QStringLiteral("btnDelete"));
    m_btnDelete->setAutoDefault(false);
    connect(m_btnOpenFolder, &QPushButton::clicked, this, &TFindDupDlg::OpenResult);
    connect(m_btnDelete, &QPushButton::clicked, this, &TFindDupDlg::DeleteSelectedRows);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_lblStatus, 1);
    bottom->addWidget(m_btnDelete);
    bottom->addWidget(m_btnOpenFolder);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(listLabel);
    layout->addWidget(m_List, 1);
    layout->addLayout(bottom);
    resize(600, 420);
}

void TFindDupDlg::RangeChanged() {
    m_chkSubFolders->setEnabled(m_rdbFolder->isChecked());
}

void TFindDupDlg::StartSearch() {
    THVFolder* start = m_rdbAll->isChecked() ? &m_Window.Document().Root() : m_Window.FolderTree().SelectedFolder();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_lblStatus->setText(QString::fromUtf8(kDupStatusSearching.data(), kDupStatusSearching.size()));
    m_lblStatus->repaint();
    if (start != nullptr) {
        m_Results.Search(*start, m_rdbAll->isChecked() || m_chkSubFolders->isChecked(), m_chkCommands->isChecked());
    } else {
        m_Results.Clear();
    }
    if (m_Model->rowCount() > 0) {
        m_List->selectionModel()->setCurrentIndex(m_Model->index(0, 0),
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_List->setFocus();
    }
    m_lblStatus->setText(QString::fromUtf8(kDupStatusFinished.data(), kDupStatusFinished.size()));
    QApplication::restoreOverrideCursor();
}

void TFindDupDlg::OpenResult() {
    const QModelIndex current = m_List->currentIndex();
    if (!current.isValid() || !m_List->selectionModel()->isRowSelected(current.row(), {})) {
        return;
    }
    const TDupResults::TOpenTarget target = m_Results.OpenRow(current.row());
    if (target.Folder != nullptr) {
        m_Window.ShowFolderItem(target.Folder, target.Item);
    }
}

void TFindDupDlg::DeleteSelectedRows() {
    std::vector<int> rows;
    for (const QModelIndex& index : m_List->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    m_Results.RemoveRows(std::move(rows));
}

void TFindDupDlg::SelectionChanged() {
    const bool selected = m_List->selectionModel()->hasSelection();
    m_btnOpenFolder->setEnabled(selected);
    m_btnDelete->setEnabled(selected);
}

void TFindDupDlg::closeEvent(QCloseEvent* event) {
    StorePlacement();
    event->accept();
}

void TFindDupDlg::StorePlacement() {
    hv::StorePlacement(this, m_Settings, "FindDupDlgRect", rpRestoreSize);
}

} // namespace hv

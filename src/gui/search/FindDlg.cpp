#include "search/FindDlg.h"

#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/HVWindow.h"
#include "search/ResultModels.h"
#include "search/SearchSupport.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace hv {

namespace {

// How long one slice of a search may hold the event loop.
constexpr int kSliceMilliseconds = 15;
constexpr int kStepsPerCheck = 256;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TFindDlg::TFindDlg(THVWindow& window, TItemNotices* notices, TSettings* settings, TUserPrompts& prompts,
                   const TRowIcons& icons)
    : QDialog(&window), m_Window(window), m_Settings(settings), m_Search(prompts, notices) {
    setObjectName(QStringLiteral("FindDlg"));
    setWindowTitle(QStringLiteral("検索"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    m_Model = new TFindResultModel(m_Search.Results(), icons, this);
    m_Slices = new QTimer(this);
    m_Slices->setInterval(0);
    connect(m_Slices, &QTimer::timeout, this, &TFindDlg::RunSlice);
    CreateControls();
    LoadOptions();
    RestorePlacement(this, m_Settings, "FindDlgPos", 0);
    // The user comes to type a text.
    m_cbbFindText->setFocus();
    RefreshCount();
    SelectionChanged();
}

TFindDlg::~TFindDlg() {
    // The model refers to the rows, which go before the children do.
    m_List->setModel(nullptr);
    delete m_Model;
}

void TFindDlg::CreateControls() {
    m_cbbSubject = new QComboBox;
    m_cbbSubject->setObjectName(QStringLiteral("cbbSubject"));
    m_cbbSubject->addItems({QStringLiteral("名前"), QStringLiteral("URL"), QStringLiteral("メモ")});
    m_cbbFindText = new QComboBox;
    m_cbbFindText->setObjectName(QStringLiteral("cbbFindText"));
    m_cbbFindText->setEditable(true);
    m_cbbFindText->setInsertPolicy(QComboBox::NoInsert);
    m_cbbFindText->setMaxCount(static_cast<int>(TFindHistory::kMaxCount));
    m_cbbFindText->setMinimumWidth(180);
    m_cbbFindText->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_cbbFindType = new QComboBox;
    m_cbbFindType->setObjectName(QStringLiteral("cbbFindType"));
    m_cbbFindType->addItems({QStringLiteral("を含む"), QStringLiteral("を含まない"), QStringLiteral("である"),
                             QStringLiteral("で始まる"), QStringLiteral("で終わる")});
    m_chkDiscriminateCase = new QCheckBox(QStringLiteral("大文字・小文字を区別する(&I)"));
    m_chkDiscriminateCase->setObjectName(QStringLiteral("chkDiscriminateCase"));

    // The condition reads as one sentence: "名前 が [text] を含む ものを".
    auto* labels = new QGridLayout;
    auto* subjectLabel = new QLabel(QStringLiteral("項目(&S)"));
    subjectLabel->setBuddy(m_cbbSubject);
    auto* textLabel = new QLabel(QStringLiteral("検索文字列(&T)"));
    textLabel->setBuddy(m_cbbFindText);
    auto* typeLabel = new QLabel(QStringLiteral("検索の方法(&Y)"));
    typeLabel->setBuddy(m_cbbFindType);
    labels->addWidget(subjectLabel, 0, 0);
    labels->addWidget(textLabel, 0, 2);
    labels->addWidget(typeLabel, 0, 3);
    labels->addWidget(m_cbbSubject, 1, 0);
    labels->addWidget(new QLabel(QStringLiteral("が")), 1, 1);
    labels->addWidget(m_cbbFindText, 1, 2);
    labels->addWidget(m_cbbFindType, 1, 3);
    labels->addWidget(new QLabel(QStringLiteral("ものを")), 1, 4);
    labels->addWidget(m_chkDiscriminateCase, 2, 0, 1, 4);
    labels->setColumnStretch(2, 1);

    auto* range = new QGroupBox(QStringLiteral("検索の範囲"));
    range->setObjectName(QStringLiteral("grpRange"));
    m_rdbAll = new QRadioButton(QStringLiteral("すべてのフォルダ(&A)"));
    m_rdbAll->setObjectName(QStringLiteral("rdbAll"));
    m_rdbFolder = new QRadioButton(QStringLiteral("現在開いているフォルダ(&U)"));
    m_rdbFolder->setObjectName(QStringLiteral("rdbFolder"));
    m_chkIncludeSubFolder = new QCheckBox(QStringLiteral("サブフォルダを含める(&B)"));
    m_chkIncludeSubFolder->setObjectName(QStringLiteral("chkIncludeSubFolder"));
    m_rdbInList = new QRadioButton(QStringLiteral("下のリスト(&M)"));
    m_rdbInList->setObjectName(QStringLiteral("rdbInList"));
    auto* rangeLayout = new QGridLayout(range);
    rangeLayout->addWidget(m_rdbAll, 0, 0);
    rangeLayout->addWidget(m_rdbFolder, 1, 0);
    rangeLayout->addWidget(m_chkIncludeSubFolder, 1, 1);
    rangeLayout->addWidget(m_rdbInList, 2, 0);
    for (QRadioButton* button : {m_rdbAll, m_rdbFolder, m_rdbInList}) {
        connect(button, &QRadioButton::toggled, this, &TFindDlg::RangeChanged);
    }

    m_btnSearch = new QPushButton(QStringLiteral("検索(&F)"));
    m_btnSearch->setObjectName(QStringLiteral("btnSearch"));
    m_btnSearch->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("閉じる(&C)"));
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setAutoDefault(false);
    connect(m_btnSearch, &QPushButton::clicked, this, &TFindDlg::StartSearch);
    connect(m_btnCancel, &QPushButton::clicked, this, &TFindDlg::CancelClicked);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_btnSearch);
    buttons->addWidget(m_btnCancel);
    buttons->addStretch(1);

    auto* top = new QHBoxLayout;
    auto* condition = new QVBoxLayout;
    condition->addLayout(labels);
    condition->addWidget(range);
    top->addLayout(condition, 1);
    top->addLayout(buttons);

    m_List = new QTreeView;
    m_List->setObjectName(QStringLiteral("ListView"));
    m_List->setModel(m_Model);
    SetUpResultList(m_List, m_Settings);
    auto* listLabel = new QLabel(QStringLiteral("リスト(&L)"));
    listLabel->setBuddy(m_List);
    connect(m_List->header(), &QHeaderView::sectionClicked, this, &TFindDlg::HeaderClicked);
    connect(m_List->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFindDlg::SelectionChanged);
    connect(m_List, &QTreeView::doubleClicked, this, &TFindDlg::OpenResult);
    // Asked at each click: the options dialog may change it while the window is open.
    connect(m_List, &QTreeView::clicked, this, [this] {
        if (SingleClickOpens(m_Settings)) {
            OpenResult();
        }
    });
    connect(m_Model, &QAbstractItemModel::rowsRemoved, this, &TFindDlg::PostCountRefresh);
    connect(m_Model, &QAbstractItemModel::modelReset, this, &TFindDlg::PostCountRefresh);

    m_btnDelete = new QPushButton(QStringLiteral("リストから削除(&D)"));
    m_btnDelete->setObjectName(QStringLiteral("btnDelete"));
    m_btnDelete->setAutoDefault(false);
    m_btnOpenFolder = new QPushButton(QStringLiteral("フォルダを開く(&O)"));
    m_btnOpenFolder->setObjectName(QStringLiteral("btnOpenFolder"));
    m_btnOpenFolder->setAutoDefault(false);
    connect(m_btnDelete, &QPushButton::clicked, this, &TFindDlg::DeleteSelectedRows);
    connect(m_btnOpenFolder, &QPushButton::clicked, this, &TFindDlg::OpenResult);
    m_lblItemCount = new QLabel;
    m_lblItemCount->setObjectName(QStringLiteral("lblItemCount"));
    m_lblStatus = new QLabel;
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_lblItemCount);
    bottom->addWidget(m_lblStatus, 1);
    bottom->addWidget(m_btnDelete);
    bottom->addWidget(m_btnOpenFolder);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(listLabel);
    layout->addWidget(m_List, 1);
    layout->addLayout(bottom);
    resize(560, 420);
}

void TFindDlg::LoadOptions() {
    TFindOptions options;
    if (m_Settings != nullptr) {
        options = ReadFindOptions(*m_Settings);
    }
    m_cbbSubject->setCurrentIndex(static_cast<int>(SubjectFromSetting(options.Subject)));
    m_cbbFindType->setCurrentIndex(static_cast<int>(FindTypeFromSetting(options.FindType)));
    m_chkDiscriminateCase->setChecked(options.DiscriminateCase);
    m_chkIncludeSubFolder->setChecked(options.IncludeSubFolder);
    switch (RangeFromSetting(options.Range)) {
    case TFindRange::AllFolders:
        m_rdbAll->setChecked(true);
        break;
    case TFindRange::ResultList:
        m_rdbInList->setChecked(true);
        break;
    default:
        m_rdbFolder->setChecked(true);
        break;
    }
    m_Search.History().LoadCommaText(options.FindText);
    const auto& items = m_Search.History().Items();
    FillHistory(items.empty() ? QString() : Q(items.front()));
    RangeChanged();
}

TFindOptions TFindDlg::Options() const {
    TFindOptions options;
    options.Subject = m_cbbSubject->currentIndex();
    options.FindText = m_Search.History().CommaText();
    options.FindType = m_cbbFindType->currentIndex();
    options.DiscriminateCase = m_chkDiscriminateCase->isChecked();
    options.IncludeSubFolder = m_chkIncludeSubFolder->isChecked();
    options.Range = static_cast<int>(m_rdbAll->isChecked()      ? TFindRange::AllFolders
                                     : m_rdbInList->isChecked() ? TFindRange::ResultList
                                                                : TFindRange::CurrentFolder);
    return options;
}

void TFindDlg::RangeChanged() {
    m_chkIncludeSubFolder->setEnabled(m_rdbFolder->isChecked());
}

void TFindDlg::FillHistory(const QString& text) {
    m_cbbFindText->clear();
    for (const std::string& item : m_Search.History().Items()) {
        m_cbbFindText->addItem(Q(item));
    }
    const int at = m_cbbFindText->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at >= 0) {
        m_cbbFindText->setCurrentIndex(at);
    } else {
        m_cbbFindText->setEditText(text);
    }
}

void TFindDlg::StartSearch() {
    if (m_Search.Searching()) {
        return;
    }
    TFindRequest request;
    request.Text = m_cbbFindText->currentText().toStdString();
    request.Subject = SubjectFromSetting(m_cbbSubject->currentIndex());
    request.Type = FindTypeFromSetting(m_cbbFindType->currentIndex());
    request.DiscriminateCase = m_chkDiscriminateCase->isChecked();
    request.Range = m_rdbAll->isChecked()      ? TFindRange::AllFolders
                    : m_rdbInList->isChecked() ? TFindRange::ResultList
                                               : TFindRange::CurrentFolder;
    request.IncludeSubFolder = m_chkIncludeSubFolder->isChecked();
    request.Root = &m_Window.Document().Root();
    request.Current = m_Window.FolderTree().SelectedFolder();
    TFindProgress progress;
    progress.Status = [this](const std::string& status) { m_lblStatus->setText(Q(status)); };
    SetSearching(true);
    const TFindOutcome outcome = m_Search.Start(request, progress);
    m_Model->FlushAppended();
    if (outcome != TFindOutcome::Running) {
        Finished(outcome);
        return;
    }
    FillHistory(Q(m_Search.History().Items().front()));
    m_Slices->start();
}

void TFindDlg::RunSlice() {
    QElapsedTimer clock;
    clock.start();
    TFindOutcome outcome = TFindOutcome::Running;
    if (m_SliceLimit > 0) {
        outcome = m_Search.Continue(m_SliceLimit);
    }
    while (m_SliceLimit <= 0 && outcome == TFindOutcome::Running && clock.elapsed() < kSliceMilliseconds) {
        outcome = m_Search.Continue(kStepsPerCheck);
    }
    m_Model->FlushAppended();
    RefreshCount();
    if (outcome != TFindOutcome::Running) {
        m_Slices->stop();
        Finished(outcome);
    }
}

void TFindDlg::Finished(TFindOutcome outcome) {
    if (outcome == TFindOutcome::Finished && m_Model->rowCount() > 0) {
        const QModelIndex first = m_Model->index(0, 0);
        m_List->selectionModel()->setCurrentIndex(first,
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_List->setFocus();
    }
    SetSearching(false);
    RefreshCount();
    if (m_Search.CloseRequested()) {
        close();
    }
}

void TFindDlg::SetSearching(bool searching) {
    m_btnCancel->setText(searching ? QStringLiteral("中止(&C)") : QStringLiteral("閉じる(&C)"));
    m_btnSearch->setEnabled(!searching);
}

void TFindDlg::CancelClicked() {
    if (m_Search.Searching()) {
        m_Search.Cancel();
    } else {
        close();
    }
}

void TFindDlg::keyPressEvent(QKeyEvent* event) {
    // Escape is the cancel button: it stops a search, and closes the window only when idle.
    if (event->key() == Qt::Key_Escape) {
        CancelClicked();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFindDlg::closeEvent(QCloseEvent* event) {
    if (!m_Search.QueryClose()) {
        event->ignore();
        return;
    }
    StoreOptions();
    event->accept();
}

void TFindDlg::StoreOptions() {
    if (m_Settings != nullptr) {
        WriteFindOptions(*m_Settings, Options());
    }
    StorePlacement(this, m_Settings, "FindDlgPos", 0);
}

void TFindDlg::HeaderClicked(int column) {
    const std::optional<std::string> status = m_Search.ClickColumn(column);
    if (!status) {
        return;
    }
    m_lblStatus->setText(Q(*status));
    m_List->header()->setSortIndicatorShown(true);
    m_List->header()->setSortIndicator(column,
                                       m_Search.Results().SortDescending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TFindDlg::OpenResult() {
    const QModelIndex current = m_List->currentIndex();
    if (!current.isValid() || !m_List->selectionModel()->isRowSelected(current.row(), {})) {
        return;
    }
    const TFindSearch::TOpenTarget target = m_Search.OpenRow(current.row(), m_Window.Document().Root());
    if (target.Folder != nullptr) {
        m_Window.ShowFolderItem(target.Folder, target.Item);
    }
}

void TFindDlg::DeleteSelectedRows() {
    std::vector<int> rows;
    for (const QModelIndex& index : m_List->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    m_Search.Results().RemoveRows(std::move(rows));
}

void TFindDlg::SelectionChanged() {
    const bool selected = m_List->selectionModel()->hasSelection();
    m_btnOpenFolder->setEnabled(selected);
    m_btnDelete->setEnabled(selected);
    RefreshCount();
}

void TFindDlg::PostCountRefresh() {
    if (m_CountPosted) {
        return;
    }
    m_CountPosted = true;
    QTimer::singleShot(0, this, [this] {
        m_CountPosted = false;
        SelectionChanged();
    });
}

void TFindDlg::RefreshCount() {
    const int selected = static_cast<int>(m_List->selectionModel()->selectedRows().size());
    m_lblItemCount->setText(Q(FindCountText(m_Model->rowCount(), selected)));
}

} // namespace hv

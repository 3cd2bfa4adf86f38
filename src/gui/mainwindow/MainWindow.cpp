#include "mainwindow/MainWindow.h"

#include "Errors.h"
#include "document/DocumentFile.h"
#include "document/RecordReader.h"
#include "model/HVFolder.h"
#include "platform/SafeFile.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QTreeWidget>

#include <exception>
#include <utility>
#include <vector>

namespace hv {

namespace {

// The folder a tree row stands for.
constexpr int FolderRole = Qt::UserRole;

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const THVFolder* FolderOf(const QTreeWidgetItem* row) {
    return row == nullptr ? nullptr : reinterpret_cast<const THVFolder*>(row->data(0, FolderRole).value<quintptr>());
}

// Reads a whole document into a new root; throws EHVError (or another std::exception) on failure.
std::unique_ptr<THVFolder> LoadDocumentTree(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    const TDocumentText document = ParseDocumentBytes(bytes);
    if (!document.Password.empty()) {
        throw EHVError("パスワードで保護されたドキュメントはまだ開けません");
    }
    auto root = std::make_unique<THVFolder>(TMainWindow::AppTitle().toStdString());
    ReadRecords(document.Body, *root);
    return root;
}

} // namespace

TMainWindow::TMainWindow(QWidget* parent)
    : QMainWindow(parent), m_Root(std::make_unique<THVFolder>(AppTitle().toStdString())) {
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    m_ExitAction = fileMenu->addAction(QStringLiteral("終了(&X)"));
    m_ExitAction->setMenuRole(QAction::QuitRole);
    connect(m_ExitAction, &QAction::triggered, this, &QWidget::close);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    m_FolderTree = new QTreeWidget(splitter);
    m_FolderTree->setHeaderHidden(true);
    m_FolderTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ItemList = new QTreeWidget(splitter);
    m_ItemList->setHeaderLabels({QStringLiteral("名前"), QStringLiteral("URL")});
    m_ItemList->setRootIsDecorated(false);
    m_ItemList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ItemList->setUniformRowHeights(true);
    m_ItemList->header()->resizeSection(0, 260);
    splitter->addWidget(m_FolderTree);
    splitter->addWidget(m_ItemList);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    setCentralWidget(splitter);
    connect(m_FolderTree, &QTreeWidget::currentItemChanged, this, &TMainWindow::OnCurrentFolderChanged);

    resize(900, 600);
    ShowTree();
    UpdateTitle();
}

TMainWindow::~TMainWindow() = default;

QString TMainWindow::AppTitle() {
    return QStringLiteral("Hollyvine");
}

QString TMainWindow::UntitledName() {
    return QStringLiteral("(無題)");
}

bool TMainWindow::OpenDocument(const QString& path) {
    std::unique_ptr<THVFolder> root;
    try {
        root = LoadDocumentTree(QFile::encodeName(path).toStdString());
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()));
        return false;
    }
    m_Root = std::move(root);
    m_FileName = QFileInfo(path).fileName();
    ShowTree();
    UpdateTitle();
    return true;
}

void TMainWindow::ShowError(const QString& message) {
    QMessageBox::critical(this, AppTitle(), message);
}

void TMainWindow::ShowTree() {
    const QSignalBlocker blocker(m_FolderTree);
    m_ItemList->clear();
    m_FolderTree->clear();
    // Rows of the folders on the current path from the root; rows[level] is the row of the
    // last folder seen at that level.
    std::vector<QTreeWidgetItem*> rows;
    ForEachFolder(std::as_const(*m_Root), [&](const THVFolder& folder, int level) {
        auto* row = level == 0 ? new QTreeWidgetItem(m_FolderTree)
                               : new QTreeWidgetItem(rows[static_cast<std::size_t>(level - 1)]);
        row->setText(0, ToQString(folder.Name()));
        row->setData(0, FolderRole, QVariant::fromValue(reinterpret_cast<quintptr>(&folder)));
        rows.resize(static_cast<std::size_t>(level));
        rows.push_back(row);
    });
    // Expand once the rows exist; a row expands only when its children are there.
    for (QTreeWidgetItemIterator it(m_FolderTree); *it != nullptr; ++it) {
        const THVFolder* folder = FolderOf(*it);
        (*it)->setExpanded(folder == m_Root.get() || folder->Expanded());
    }
    QTreeWidgetItem* top = m_FolderTree->topLevelItem(0);
    m_FolderTree->setCurrentItem(top);
    ShowItemsOf(m_Root.get());
}

void TMainWindow::ShowItemsOf(const THVFolder* folder) {
    m_ItemList->clear();
    if (folder == nullptr) {
        return;
    }
    QList<QTreeWidgetItem*> rows;
    rows.reserve(folder->List().Count());
    for (const auto& item : folder->List()) {
        rows.append(new QTreeWidgetItem({ToQString(item->GetName()), ToQString(item->GetURL())}));
    }
    m_ItemList->addTopLevelItems(rows);
}

void TMainWindow::UpdateTitle() {
    setWindowTitle(AppTitle() + QStringLiteral(" - ") + (m_FileName.isEmpty() ? UntitledName() : m_FileName));
}

void TMainWindow::OnCurrentFolderChanged(QTreeWidgetItem* current) {
    ShowItemsOf(FolderOf(current));
}

} // namespace hv

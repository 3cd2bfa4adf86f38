#include "importexport/ExportFolderDlg.h"

#include "importexport/ExpFavorites.h"
#include "importexport/ExportDlgSupport.h"
#include "platform/UserPrompts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace hv {

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TExportFolderDlg::TExportFolderDlg(const QString& start, TUserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_Prompts(prompts), m_Model(new QFileSystemModel(this)), m_Tree(new QTreeView(this)),
      m_lblPath(new QLabel(this)) {
    setObjectName(QStringLiteral("ExportFolderDlg"));
    setWindowTitle(QStringLiteral("エクスポート先フォルダの選択"));
    m_Model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_Model->setRootPath(QDir::rootPath());
    m_Tree->setObjectName(QStringLiteral("tvFolders"));
    m_Tree->setModel(m_Model);
    for (int column = 1; column < m_Model->columnCount(); ++column) {
        m_Tree->hideColumn(column);
    }
    m_Tree->header()->hide();
    m_lblPath->setObjectName(QStringLiteral("lblPath"));
    m_lblPath->setTextFormat(Qt::PlainText);
    m_lblPath->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* create = buttons->addButton(QStringLiteral("サブフォルダ作成(&S)"), QDialogButtonBox::ActionRole);
    create->setObjectName(QStringLiteral("btnCreateFolder"));
    create->setAutoDefault(false);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bbtOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル(&C)"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("bbtCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Tree, 1);
    layout->addWidget(m_lblPath);
    layout->addWidget(buttons);
    resize(fontMetrics().averageCharWidth() * 60, fontMetrics().height() * 26);

    connect(buttons, &QDialogButtonBox::accepted, this, &TExportFolderDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TExportFolderDlg::reject);
    connect(create, &QPushButton::clicked, this, &TExportFolderDlg::CreateSubFolder);
    connect(m_Tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &TExportFolderDlg::ShowSelectedPath);
    // The model reads directories in the background: the selection comes into view once the
    // directories on its way are there.
    connect(m_Model, &QFileSystemModel::directoryLoaded, this,
            [this] { m_Tree->scrollTo(m_Tree->currentIndex(), QAbstractItemView::PositionAtCenter); });
    SelectPath(start);
}

QString TExportFolderDlg::SelectedPath() const {
    return m_Model->filePath(m_Tree->currentIndex());
}

void TExportFolderDlg::SelectPath(const QString& path) {
    const QModelIndex index = m_Model->index(path);
    if (!index.isValid()) {
        return;
    }
    m_Tree->setCurrentIndex(index);
    m_Tree->scrollTo(index);
    ShowSelectedPath();
}

void TExportFolderDlg::ShowSelectedPath() {
    m_lblPath->setText(SelectedPath());
}

bool TExportFolderDlg::CreateSubFolder() {
    if (SelectedPath().isEmpty()) {
        return false;
    }
    std::optional<QString> name;
    if (m_AskName) {
        name = m_AskName(this);
    } else {
        bool ok = false;
        const QString text =
            QInputDialog::getText(this, Q(kNewFolderCaption), Q(kNewFolderPrompt), QLineEdit::Normal, QString(), &ok);
        if (ok) {
            name = text;
        }
    }
    if (!name) {
        return false;
    }
    const auto made = CreateExportSubFolder(ExportPath(SelectedPath()), name->toStdString(), m_Prompts);
    if (!made) {
        return false;
    }
    SelectPath(ExportPathText(*made));
    return true;
}

} // namespace hv

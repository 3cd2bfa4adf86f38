#include "importexport/ExpFavoritesDlg.h"

#include "importexport/ExpFavorites.h"
#include "importexport/ExportDlgSupport.h"
#include "importexport/ExportFolderDlg.h"
#include "platform/UserPrompts.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace hv {

namespace {

constexpr std::string_view kPlaceName = "ExpFavoritesDlgPos";
constexpr int kErrorsPage = 1;

// The wait cursor for as long as it lives.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

bool OpenWithFileManager(const QString& dir) {
    return QProcess::startDetached(QStringLiteral("xdg-open"), {dir});
}

} // namespace

TExpFavoritesDlg::TExpFavoritesDlg(const QString& destination, TSourceFinder source, TUserPrompts& prompts,
                                   TSettings* settings, QWidget* parent)
    : QDialog(parent), m_Source(std::move(source)), m_Prompts(prompts), m_Settings(settings) {
    setObjectName(QStringLiteral("ExpFavoritesDlg"));
    setWindowTitle(QString::fromUtf8(kExpFavoritesCaption.data(), static_cast<qsizetype>(kExpFavoritesCaption.size())));

    m_Pages = new QTabWidget(this);
    m_Pages->setObjectName(QStringLiteral("PageControl"));
    m_Pages->setDocumentMode(true);
    auto* main = new QWidget(m_Pages);
    main->setObjectName(QStringLiteral("tabExport"));
    QGroupBox* target =
        NewRadioGroup(main, QStringLiteral("対象"), "rdgAllFolder",
                      {QStringLiteral("現在のフォルダ(&R)"), QStringLiteral("すべてのフォルダ(&A)")}, m_rdgAllFolder);
    SelectRadio(m_rdgAllFolder, 0);

    auto* where = new QGroupBox(QStringLiteral("エクスポート先"), main);
    m_lblDestination = new TExportPathLabel(where, 44);
    m_lblDestination->setObjectName(QStringLiteral("lblDestination"));
    auto* change = new QPushButton(QStringLiteral("変更(&S)..."), where);
    change->setObjectName(QStringLiteral("btnChange"));
    auto* open = new QPushButton(QStringLiteral("開く(&O)"), where);
    open->setObjectName(QStringLiteral("btnOpen"));
    auto* explore = new QPushButton(QStringLiteral("エクスプローラ(&E)"), where);
    explore->setObjectName(QStringLiteral("btnExplore"));
    for (QPushButton* button : {change, open, explore}) {
        button->setAutoDefault(false);
    }
    m_chkClear = new QCheckBox(QStringLiteral("現在ある項目を削除する(&D)"), where);
    m_chkClear->setObjectName(QStringLiteral("chkClear"));
    auto* whereLayout = new QGridLayout(where);
    whereLayout->addWidget(m_lblDestination, 0, 0, 1, 4);
    whereLayout->addWidget(change, 1, 1);
    whereLayout->addWidget(open, 1, 2);
    whereLayout->addWidget(explore, 1, 3);
    whereLayout->addWidget(m_chkClear, 2, 0, 1, 4);
    whereLayout->setColumnStretch(0, 1);

    auto* buttons = new QDialogButtonBox(main);
    QPushButton* exportButton = buttons->addButton(QStringLiteral("エクスポート(&X)"), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("btnExport"));
    exportButton->setDefault(true);
    QPushButton* closeButton = buttons->addButton(QStringLiteral("閉じる(&C)"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("btnClose"));
    closeButton->setAutoDefault(false);

    auto* mainLayout = new QVBoxLayout(main);
    mainLayout->addWidget(target);
    mainLayout->addWidget(where);
    mainLayout->addStretch(1);
    mainLayout->addWidget(buttons);
    m_Pages->addTab(main, QStringLiteral("エクスポート"));

    m_memErrors = new QPlainTextEdit(m_Pages);
    m_memErrors->setObjectName(QStringLiteral("memErrors"));
    m_memErrors->setReadOnly(true);
    m_memErrors->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_Pages->addTab(m_memErrors, QStringLiteral("前回のエラー"));
    m_Pages->setTabVisible(kErrorsPage, false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_Pages);

    connect(change, &QPushButton::clicked, this, &TExpFavoritesDlg::ChooseDestination);
    connect(open, &QPushButton::clicked, this, &TExpFavoritesDlg::OpenDestination);
    connect(explore, &QPushButton::clicked, this, &TExpFavoritesDlg::OpenDestination);
    connect(exportButton, &QPushButton::clicked, this, &TExpFavoritesDlg::Export);
    connect(buttons, &QDialogButtonBox::rejected, this, &TExpFavoritesDlg::reject);

    SetDestination(destination);
    if (m_Settings != nullptr) {
        RestoreExportDlgPlace(*this, *m_Settings, kPlaceName);
    }
}

TExpFavoritesDlg::~TExpFavoritesDlg() {
    if (m_Settings != nullptr) {
        SaveExportDlgPlace(*this, *m_Settings, kPlaceName);
    }
}

void TExpFavoritesDlg::SetDestination(const QString& dir) {
    m_Destination = dir;
    m_lblDestination->SetPath(dir);
}

bool TExpFavoritesDlg::ErrorsPageShown() const {
    return m_Pages->isTabVisible(kErrorsPage);
}

bool TExpFavoritesDlg::ChooseDestination() {
    std::optional<QString> dir;
    if (m_ChooseFolder) {
        dir = m_ChooseFolder(m_Destination, this);
    } else {
        TExportFolderDlg dialog(m_Destination, m_Prompts, this);
        if (dialog.exec() == QDialog::Accepted && !dialog.SelectedPath().isEmpty()) {
            dir = dialog.SelectedPath();
        }
    }
    if (!dir) {
        return false;
    }
    SetDestination(*dir);
    return true;
}

void TExpFavoritesDlg::OpenDestination() {
    const bool opened = m_OpenDirectory ? m_OpenDirectory(m_Destination) : OpenWithFileManager(m_Destination);
    if (!opened) {
        m_Prompts.Error("フォルダ '" + ExportPath(m_Destination) + "' を開けませんでした。");
    }
}

bool TExpFavoritesDlg::Export() {
    const THVFolder* source = m_Source ? m_Source(m_rdgAllFolder->checkedId() == 1) : nullptr;
    if (source == nullptr) {
        return false;
    }
    bool written = false;
    {
        TWaitCursor wait;
        m_Errors.clear();
        written = ExportFavorites(*source, ExportPath(m_Destination), m_chkClear->isChecked(), m_Prompts, m_Errors);
    }
    if (!written) {
        return false;
    }
    QStringList lines;
    for (const std::string& error : m_Errors) {
        lines << QString::fromStdString(error);
    }
    m_memErrors->setPlainText(lines.join(QLatin1Char('\n')));
    m_Pages->setTabVisible(kErrorsPage, !m_Errors.empty());
    m_Pages->setCurrentIndex(m_Errors.empty() ? 0 : kErrorsPage);
    return true;
}

} // namespace hv

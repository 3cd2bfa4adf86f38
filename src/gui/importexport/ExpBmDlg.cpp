#include "importexport/ExpBmDlg.h"

#include "importexport/ExportDlgSupport.h"
#include "platform/UserPrompts.h"
#include "settings/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace hv {

namespace {

constexpr std::string_view kPlaceName = "ExpBmDlgRect";

} // namespace

TExpBmDlg::TExpBmDlg(const THVFolder& root, const THVFolder* selected, TUserPrompts& prompts, TSettings* settings,
                     QWidget* parent)
    : QDialog(parent), m_Root(root), m_Selected(selected), m_Prompts(prompts), m_Settings(settings) {
    setObjectName(QStringLiteral("ExpBmDlg"));
    setWindowTitle(QString::fromUtf8(kExpBmCaption.data(), static_cast<qsizetype>(kExpBmCaption.size())));

    QGroupBox* target =
        NewRadioGroup(this, QStringLiteral("対象"), "rdgAllFolder",
                      {QStringLiteral("現在のフォルダ(&R)"), QStringLiteral("すべてのフォルダ(&A)")}, m_rdgAllFolder);
    if (m_Selected == nullptr) {
        m_rdgAllFolder->button(0)->setEnabled(false);
    }

    m_edtTitle = new QLineEdit(this);
    m_edtTitle->setObjectName(QStringLiteral("edtTitle"));
    auto* titleLabel = new QLabel(QStringLiteral("タイトル(&I):"), this);
    titleLabel->setBuddy(m_edtTitle);
    m_chkItemsFirst = new QCheckBox(QStringLiteral("アイテムをサブフォルダより前にする(&F)"), this);
    m_chkItemsFirst->setObjectName(QStringLiteral("chkItemsFirst"));
    auto* fileButton = new QPushButton(QStringLiteral("ファイル名(&N)..."), this);
    fileButton->setObjectName(QStringLiteral("btnFileName"));
    fileButton->setAutoDefault(false);
    m_lblFileName = new TExportPathLabel(this);
    m_lblFileName->setObjectName(QStringLiteral("lblFileName"));

    auto* grid = new QGridLayout;
    grid->addWidget(titleLabel, 0, 0);
    grid->addWidget(m_edtTitle, 0, 1);
    grid->addWidget(m_chkItemsFirst, 1, 0, 1, 2);
    grid->addWidget(fileButton, 2, 0);
    grid->addWidget(m_lblFileName, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* exportButton = buttons->addButton(QStringLiteral("エクスポート(&X)"), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("btnExport"));
    exportButton->setDefault(true);
    QPushButton* closeButton = buttons->addButton(QStringLiteral("閉じる(&C)"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("btnClose"));
    closeButton->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(target);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(fileButton, &QPushButton::clicked, this, &TExpBmDlg::ChooseFileName);
    connect(exportButton, &QPushButton::clicked, this, &TExpBmDlg::Export);
    connect(buttons, &QDialogButtonBox::rejected, this, &TExpBmDlg::reject);

    const TExportBmOptions options = m_Settings != nullptr ? ReadExportBmOptions(*m_Settings) : TExportBmOptions();
    SelectRadio(m_rdgAllFolder, options.AllFolder || m_Selected == nullptr ? 1 : 0);
    m_edtTitle->setText(QString::fromStdString(options.Title));
    m_chkItemsFirst->setChecked(options.ItemsFirst);
    if (m_Settings != nullptr) {
        RestoreExportDlgPlace(*this, *m_Settings, kPlaceName);
    }
}

TExpBmDlg::~TExpBmDlg() {
    if (m_Settings != nullptr) {
        WriteExportBmOptions(*m_Settings, Options());
        SaveExportDlgPlace(*this, *m_Settings, kPlaceName);
    }
}

TExportBmOptions TExpBmDlg::Options() const {
    TExportBmOptions options;
    options.AllFolder = m_rdgAllFolder->checkedId() == 1;
    options.ItemsFirst = m_chkItemsFirst->isChecked();
    options.Title = m_edtTitle->text().toStdString();
    return options;
}

void TExpBmDlg::SetFileName(const QString& path) {
    m_FileName = path;
    m_lblFileName->SetPath(path);
}

bool TExpBmDlg::ChooseFileName() {
    const QString path = AskExportFileName(this, m_FileName);
    if (path.isEmpty()) {
        return false;
    }
    SetFileName(path);
    return true;
}

bool TExpBmDlg::Export() {
    if (m_FileName.isEmpty() && !ChooseFileName()) {
        return false;
    }
    const TExportBmOptions options = Options();
    const THVFolder& source = m_Selected != nullptr ? ExportBmSource(m_Root, *m_Selected, options) : m_Root;
    return ExportToFile(m_FileName, m_Prompts,
                        [&](const std::string& path) { ExportBookmarkFile(path, source, options); });
}

} // namespace hv

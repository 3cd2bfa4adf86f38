#include "importexport/ExpHtmlDlg.h"

#include "importexport/ExpBm.h"
#include "importexport/ExportDlgSupport.h"
#include "model/HVFolder.h"
#include "platform/UserPrompts.h"
#include "settings/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace hv {

namespace {

constexpr std::string_view kPlaceName = "ExpHtmlDlgRect";

QIcon Swatch(const QColor& color, int size) {
    QPixmap pixmap(size * 2, size);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

} // namespace

QColor TExpHtmlDlg::FromColorValue(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

std::int32_t TExpHtmlDlg::ToColorValue(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

TExpHtmlDlg::TExpHtmlDlg(THVFolder& root, THVFolder* selected, const std::string& documentPath, const TItemOrder& order,
                         TUserPrompts& prompts, TSettings* settings, QWidget* parent)
    : QDialog(parent), m_Root(root), m_Selected(selected), m_Order(order), m_Prompts(prompts), m_Settings(settings) {
    setObjectName(QStringLiteral("ExpHtmlDlg"));
    setWindowTitle(QString::fromUtf8(kExpHtmlCaption.data(), static_cast<qsizetype>(kExpHtmlCaption.size())));

    QGroupBox* target =
        NewRadioGroup(this, QStringLiteral("対象"), "rdgAllFolder",
                      {QStringLiteral("現在のフォルダ(&R)"), QStringLiteral("すべてのフォルダ(&A)")}, m_rdgAllFolder);
    if (m_Selected == nullptr) {
        m_rdgAllFolder->button(0)->setEnabled(false);
    }
    QGroupBox* kanji = NewRadioGroup(
        this, QStringLiteral("漢字コード"), "rdgKanjiCode",
        {QStringLiteral("シフトJI&S"), QStringLiteral("&JIS"), QStringLiteral("&EUC"), QStringLiteral("UTF-&8")},
        m_rdgKanjiCode);
    QGroupBox* eol = NewRadioGroup(
        this, QStringLiteral("改行コード"), "rdgReturnCode",
        {QStringLiteral("CR+LF(&Windows)"), QStringLiteral("LF(&UNIX)"), QStringLiteral("CR(&Macintosh)")},
        m_rdgReturnCode);
    QGroupBox* heading = NewRadioGroup(this, QStringLiteral("フォルダ名の強調"), "rdgFolderName",
                                       {QStringLiteral("強調１ <h&1>...</h1>"), QStringLiteral("強調２ <h&2>...</h2>"),
                                        QStringLiteral("強調３ <h&3>...</h3>"), QStringLiteral("太字 <&b>...</b>")},
                                       m_rdgFolderName);

    auto* colors = new QGroupBox(QStringLiteral("色"), this);
    auto* colorLayout = new QGridLayout(colors);
    const std::array<std::pair<QString, const char*>, 4> colorButtons = {{
        {QStringLiteral("背景(&G)"), "btnBGColor"},
        {QStringLiteral("文字(&T)"), "btnTextColor"},
        {QStringLiteral("リンク(&L)"), "btnLinkColor"},
        {QStringLiteral("巡回済みリンク(&V)"), "btnVLinkColor"},
    }};
    for (std::size_t i = 0; i < colorButtons.size(); ++i) {
        auto* button = new QPushButton(colorButtons[i].first, colors);
        button->setObjectName(QString::fromLatin1(colorButtons[i].second));
        button->setAutoDefault(false);
        colorLayout->addWidget(button, static_cast<int>(i / 2), static_cast<int>(i % 2));
        m_ColorButtons[i] = button;
        connect(button, &QPushButton::clicked, this, [this, i] { ChooseColor(static_cast<TColorRole>(i)); });
    }

    m_edtTitle = new QLineEdit(this);
    m_edtTitle->setObjectName(QStringLiteral("edtTitle"));
    auto* titleLabel = new QLabel(QStringLiteral("タイトル(&I):"), this);
    titleLabel->setBuddy(m_edtTitle);
    m_chkBoldItem = new QCheckBox(QStringLiteral("アイテムの名前を太字にする(&O)"), this);
    m_chkBoldItem->setObjectName(QStringLiteral("chkBoldItem"));
    m_chkShowCmd = new QCheckBox(QStringLiteral("コマンドを含める(&D)"), this);
    m_chkShowCmd->setObjectName(QStringLiteral("chkShowCmd"));
    auto* fileButton = new QPushButton(QStringLiteral("ファイル名(&N)..."), this);
    fileButton->setObjectName(QStringLiteral("btnFileName"));
    fileButton->setAutoDefault(false);
    m_lblFileName = new TExportPathLabel(this);
    m_lblFileName->setObjectName(QStringLiteral("lblFileName"));

    auto* choices = new QGridLayout;
    choices->addWidget(target, 0, 0);
    choices->addWidget(kanji, 0, 1);
    choices->addWidget(eol, 0, 2);
    choices->addWidget(heading, 1, 0, 1, 2);
    choices->addWidget(colors, 1, 2);
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_chkBoldItem);
    checks->addWidget(m_chkShowCmd);
    auto* fields = new QGridLayout;
    fields->addWidget(titleLabel, 0, 0);
    fields->addWidget(m_edtTitle, 0, 1);
    fields->addWidget(fileButton, 1, 0);
    fields->addWidget(m_lblFileName, 1, 1);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* exportButton = buttons->addButton(QStringLiteral("エクスポート(&X)"), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("btnExport"));
    exportButton->setDefault(true);
    QPushButton* closeButton = buttons->addButton(QStringLiteral("閉じる(&C)"), QDialogButtonBox::RejectRole);
    closeButton->setObjectName(QStringLiteral("btnClose"));
    closeButton->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(checks);
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(fileButton, &QPushButton::clicked, this, &TExpHtmlDlg::ChooseFileName);
    connect(exportButton, &QPushButton::clicked, this, &TExpHtmlDlg::Export);
    connect(buttons, &QDialogButtonBox::rejected, this, &TExpHtmlDlg::reject);

    const TExportHtmlOptions options =
        m_Settings != nullptr ? ReadExportHtmlOptions(*m_Settings) : TExportHtmlOptions();
    SelectRadio(m_rdgAllFolder, options.AllFolder || m_Selected == nullptr ? 1 : 0);
    SelectRadio(m_rdgKanjiCode, options.KanjiCode);
    SelectRadio(m_rdgReturnCode, options.ReturnCode);
    SelectRadio(m_rdgFolderName, options.FolderName);
    m_chkBoldItem->setChecked(options.BoldItem);
    m_chkShowCmd->setChecked(options.ShowCmd);
    SetColor(crBackground, FromColorValue(options.BGColor));
    SetColor(crText, FromColorValue(options.TextColor));
    SetColor(crLink, FromColorValue(options.LinkColor));
    SetColor(crVisitedLink, FromColorValue(options.VLinkColor));
    const std::size_t slash = documentPath.find_last_of('/');
    m_edtTitle->setText(QString::fromStdString(
        DefaultHtmlTitle(slash == std::string::npos ? documentPath : documentPath.substr(slash + 1))));
    if (m_Settings != nullptr) {
        RestoreExportDlgPlace(*this, *m_Settings, kPlaceName);
    }
}

TExpHtmlDlg::~TExpHtmlDlg() {
    if (m_Settings != nullptr) {
        WriteExportHtmlOptions(*m_Settings, Options());
        SaveExportDlgPlace(*this, *m_Settings, kPlaceName);
    }
}

TExportHtmlOptions TExpHtmlDlg::Options() const {
    TExportHtmlOptions options;
    options.AllFolder = m_rdgAllFolder->checkedId() == 1;
    options.KanjiCode = m_rdgKanjiCode->checkedId();
    options.ReturnCode = m_rdgReturnCode->checkedId();
    options.Title = m_edtTitle->text().toStdString();
    options.BGColor = ToColorValue(Color(crBackground));
    options.TextColor = ToColorValue(Color(crText));
    options.LinkColor = ToColorValue(Color(crLink));
    options.VLinkColor = ToColorValue(Color(crVisitedLink));
    options.FolderName = m_rdgFolderName->checkedId();
    options.BoldItem = m_chkBoldItem->isChecked();
    options.ShowCmd = m_chkShowCmd->isChecked();
    return options;
}

void TExpHtmlDlg::SetColor(TColorRole role, const QColor& color) {
    const auto index = static_cast<std::size_t>(role);
    m_Colors.at(index) = color;
    QPushButton* button = m_ColorButtons.at(index);
    const int size = button->fontMetrics().height();
    button->setIcon(Swatch(color, size));
    button->setIconSize(QSize(size * 2, size));
    button->setToolTip(color.name());
}

bool TExpHtmlDlg::ChooseColor(TColorRole role) {
    const QColor current = Color(role);
    std::optional<QColor> chosen;
    if (m_ChooseColor) {
        chosen = m_ChooseColor(current, this);
    } else {
        const QColor color = QColorDialog::getColor(current, this);
        if (color.isValid()) {
            chosen = color;
        }
    }
    if (!chosen) {
        return false;
    }
    SetColor(role, *chosen);
    return true;
}

void TExpHtmlDlg::SetFileName(const QString& path) {
    m_FileName = path;
    m_lblFileName->SetPath(path);
}

bool TExpHtmlDlg::ChooseFileName() {
    const QString path = AskExportFileName(this, m_FileName);
    if (path.isEmpty()) {
        return false;
    }
    SetFileName(path);
    return true;
}

bool TExpHtmlDlg::Export() {
    if (m_FileName.isEmpty() && !ChooseFileName()) {
        return false;
    }
    const TExportHtmlOptions options = Options();
    THVFolder& source = options.AllFolder || m_Selected == nullptr ? m_Root : *m_Selected;
    return ExportToFile(m_FileName, m_Prompts,
                        [&](const std::string& path) { ExportHtmlFile(path, source, options, m_Order); });
}

} // namespace hv

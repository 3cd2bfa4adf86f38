#include "importexport/ImpBrowserDlg.h"

#include "search/SearchSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <string_view>

namespace hv {

namespace {

constexpr std::string_view kPlaceName = "ImpBrowserDlgPos";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TImpBrowserDlg::TImpBrowserDlg(TSettings* settings, QWidget* parent) : QDialog(parent), m_Settings(settings) {
    setObjectName(QStringLiteral("ImpBrowserDlg"));
    setWindowTitle(QStringLiteral("ブラウザで表示しているURLのインポート"));

    rdbIE = new QRadioButton(QStringLiteral("&Chromium"), this);
    rdbIE->setObjectName(QStringLiteral("rdbIE"));
    rdbNN = new QRadioButton(QStringLiteral("&Firefox"), this);
    rdbNN->setObjectName(QStringLiteral("rdbNN"));
    auto* group = new QButtonGroup(this);
    group->addButton(rdbIE);
    group->addButton(rdbNN);
    connect(rdbIE, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            Fill(m_Chromium);
        }
    });
    connect(rdbNN, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            Fill(m_Firefox);
        }
    });

    edtTitle = new QLineEdit(this);
    edtTitle->setObjectName(QStringLiteral("edtTitle"));
    edtURL = new QLineEdit(this);
    edtURL->setObjectName(QStringLiteral("edtURL"));
    edtTitle->setMinimumWidth(360);
    chkDontConfirm = new QCheckBox(QStringLiteral("次からはこのダイアログボックスを表示しない(&S)"), this);
    chkDontConfirm->setObjectName(QStringLiteral("chkDontConfirm"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル(&C)"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* radios = new QHBoxLayout;
    radios->addWidget(rdbIE);
    radios->addWidget(rdbNN);
    radios->addStretch(1);
    auto* form = new QFormLayout;
    auto* titleLabel = new QLabel(QStringLiteral("タイトル(&T)"), this);
    titleLabel->setBuddy(edtTitle);
    auto* urlLabel = new QLabel(QStringLiteral("&URL"), this);
    urlLabel->setBuddy(edtURL);
    form->addRow(titleLabel, edtTitle);
    form->addRow(urlLabel, edtURL);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(radios);
    layout->addLayout(form);
    layout->addWidget(chkDontConfirm);
    layout->addWidget(buttons);
    setSizeGripEnabled(false);

    RestorePlacement(this, m_Settings, kPlaceName, 0);
    connect(this, &QDialog::finished, this, [this] { StorePlacement(this, m_Settings, kPlaceName, 0); });
}

TImpBrowserDlg::~TImpBrowserDlg() = default;

void TImpBrowserDlg::Load(const TBrowserAnswer& chromium, const TBrowserAnswer& firefox, bool firefoxFirst) {
    m_Chromium = chromium;
    m_Firefox = firefox;
    rdbIE->setEnabled(chromium.Found);
    rdbNN->setEnabled(firefox.Found);
    QRadioButton* chosen = !firefoxFirst && chromium.Found ? rdbIE : rdbNN;
    // A button that is checked already sends no signal: the edits are filled here as well.
    chosen->setChecked(true);
    Fill(chosen == rdbIE ? m_Chromium : m_Firefox);
}

void TImpBrowserDlg::Fill(const TBrowserAnswer& answer) {
    edtTitle->setText(Q(answer.Title));
    edtURL->setText(Q(answer.URL));
}

TBrowserAnswer TImpBrowserDlg::Result() const {
    return {true, edtTitle->text().toStdString(), edtURL->text().toStdString()};
}

bool TImpBrowserDlg::DontConfirm() const {
    return chkDontConfirm->isChecked();
}

} // namespace hv

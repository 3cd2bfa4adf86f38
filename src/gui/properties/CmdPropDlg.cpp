#include "properties/CmdPropDlg.h"

#include "app/FileDialogs.h"
#include "platform/UserPrompts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace hv {

namespace {
constexpr std::string_view kPosName = "CmdPropDlgPos";
}

TCmdPropDlg::TCmdPropDlg(TPropDlgServices& services, QWidget* parent) : QDialog(parent), m_Services(services) {
    setWindowTitle(QString::fromUtf8("コマンドのプロパティ"));
    m_Title = new QLineEdit(this);
    m_Title->setObjectName(QStringLiteral("edtTitle"));
    m_CmdLine = new QLineEdit(this);
    m_CmdLine->setObjectName(QStringLiteral("edtCmdLine"));
    m_CmdLine->setMinimumWidth(320);
    auto* browse = new QPushButton(QString::fromUtf8("ファイルを参照(&B)..."), this);
    browse->setObjectName(QStringLiteral("btnBrowse"));
    m_UpdateLastVisited = new QCheckBox(QString::fromUtf8("アイテムのアクセス日時を更新する(&U)"), this);
    m_UpdateLastVisited->setObjectName(QStringLiteral("chkUpdateLastVisited"));
    m_UpdateLastVisited->setLayoutDirection(Qt::RightToLeft); // caption at the left of the box

    auto* form = new QFormLayout;
    auto* titleLabel = new QLabel(QString::fromUtf8("タイトル(&T)"), this);
    titleLabel->setBuddy(m_Title);
    auto* cmdLabel = new QLabel(QString::fromUtf8("コマンドライン(&L)"), this);
    cmdLabel->setBuddy(m_CmdLine);
    form->addRow(titleLabel, m_Title);
    form->addRow(cmdLabel, m_CmdLine);
    auto* browseRow = new QHBoxLayout;
    browseRow->addWidget(m_UpdateLastVisited);
    browseRow->addStretch();
    browseRow->addWidget(browse);
    form->addRow(browseRow);

    auto* buttons = new QDialogButtonBox(this);
    m_OK = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    m_OK->setObjectName(QStringLiteral("bbtOK"));
    m_OK->setDefault(true);
    QPushButton* cancel = buttons->addButton(QString::fromUtf8("キャンセル(&C)"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("bbtCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &TCmdPropDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TCmdPropDlg::reject);
    connect(browse, &QPushButton::clicked, this, &TCmdPropDlg::Browse);
    connect(m_Title, &QLineEdit::textChanged, this, &TCmdPropDlg::Changed);
    connect(m_CmdLine, &QLineEdit::textChanged, this, &TCmdPropDlg::Changed);
    connect(m_UpdateLastVisited, &QCheckBox::toggled, this, &TCmdPropDlg::Changed);
    RestoreDlgPos(*this, m_Services.Settings, kPosName);
}

TCmdPropDlg::~TCmdPropDlg() {
    SaveDlgPos(*this, m_Services.Settings, kPosName);
}

bool TCmdPropDlg::Execute(TCmdItem& command) {
    Load(command);
    if (exec() != QDialog::Accepted) {
        return false;
    }
    return Store(command);
}

void TCmdPropDlg::Load(const TCmdItem& command) {
    m_Loading = true;
    m_Title->setText(QString::fromStdString(command.Title));
    m_CmdLine->setText(QString::fromStdString(command.CommandLine));
    m_UpdateLastVisited->setChecked(command.UpdateLastVisited);
    m_Loading = false;
    m_OK->setEnabled(false);
    m_Title->setFocus();
}

void TCmdPropDlg::Changed() {
    if (!m_Loading) {
        m_OK->setEnabled(true);
    }
}

bool TCmdPropDlg::CheckOK() {
    if (m_Title->text().isEmpty()) {
        m_Services.Prompts.Warning("タイトルが入力されていません。");
        m_Title->setFocus();
        return false;
    }
    return true;
}

bool TCmdPropDlg::Store(TCmdItem& command) const {
    TCmdItem entered{m_Title->text().toStdString(), m_CmdLine->text().toStdString(), m_UpdateLastVisited->isChecked()};
    if (entered == command) {
        return false;
    }
    command = std::move(entered);
    return true;
}

void TCmdPropDlg::Browse() {
    const auto file = TFileDialogs::OpenFile(this, QString::fromUtf8("ファイルの参照"), m_CmdLine->text(),
                                             QString::fromUtf8("プログラム (*.exe *.scr);;すべてのファイル (*)"));
    if (file) {
        m_CmdLine->setText(*file);
    }
}

void TCmdPropDlg::accept() {
    if (CheckOK()) {
        QDialog::accept();
    }
}

} // namespace hv

#include "document/PasswordDlg.h"

#include "document/DocumentFile.h"
#include "document/HVDocument.h"
#include "platform/UserPrompts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace hv {

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLineEdit* NewPasswordEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setEchoMode(QLineEdit::Password);
    // Every character shows as "*", whatever the style's own mask character is.
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setMaxLength(static_cast<int>(kMaxPasswordLength));
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 24);
    return edit;
}

} // namespace

TPasswordDlg::TPasswordDlg(TUserPrompts& prompts, QWidget* parent) : QDialog(parent), m_Prompts(prompts) {
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(Q(kPasswordDialogTitle));
    auto* text = new QLabel(Q(kPasswordDialogText), this);
    text->setObjectName(QStringLiteral("lblMessage"));
    text->setTextFormat(Qt::PlainText);
    m_Password1 = NewPasswordEdit(this, "edtPassword1");
    m_Password2 = NewPasswordEdit(this, "edtPassword2");

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("bbtOK"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル(&C)"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("bbtCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_Password1);
    layout->addWidget(m_Password2);
    layout->addSpacing(4);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &TPasswordDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TPasswordDlg::reject);
}

void TPasswordDlg::Load(const std::string& password) {
    m_Loaded = password;
    const QString text = QString::fromStdString(password);
    for (QLineEdit* edit : {m_Password1, m_Password2}) {
        // A longer password read from a file is shown whole rather than cut to the field.
        edit->setMaxLength(std::max(static_cast<int>(kMaxPasswordLength), static_cast<int>(text.size())));
        edit->setText(text);
    }
    m_Password1->selectAll();
    m_Password1->setFocus();
}

bool TPasswordDlg::CheckOK() {
    const std::string first = m_Password1->text().toStdString();
    if (!AcceptPasswordEntries(first, m_Password2->text().toStdString(), m_Prompts)) {
        m_Password1->setFocus();
        m_Password1->selectAll();
        return false;
    }
    if (first != m_Loaded) {
        if (const std::string problem = PasswordProblem(first); !problem.empty()) {
            m_Prompts.Warning(problem);
            m_Password1->setFocus();
            return false;
        }
    }
    return true;
}

std::string TPasswordDlg::Password() const {
    return m_Password1->text().toStdString();
}

void TPasswordDlg::accept() {
    if (CheckOK()) {
        QDialog::accept();
    }
}

} // namespace hv

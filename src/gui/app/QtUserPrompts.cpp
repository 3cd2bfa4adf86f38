#include "app/QtUserPrompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void TQtUserPrompts::ShowMessage(TMessageKind kind, const std::string& text, const std::string& title) {
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::Information, QMessageBox::Warning,
                                                   QMessageBox::Critical};
    QMessageBox box(kIcons[static_cast<int>(kind)], Q(title), Q(text), QMessageBox::Ok, m_Parent);
    box.exec();
}

bool TQtUserPrompts::AskYesNo(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No, m_Parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

TYesNoCancel TQtUserPrompts::AskYesNoCancel(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    m_Parent);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TYesNoCancel::Yes;
    case QMessageBox::No:
        return TYesNoCancel::No;
    default:
        return TYesNoCancel::Cancel;
    }
}

std::unique_ptr<QMessageBox> NewSaveQuestionBox(const std::string& text, const std::string& title, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, Q(title), Q(text), QMessageBox::NoButton, parent);
    QPushButton* save = box->addButton(QStringLiteral("保存する(&S)"), QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("btnSave"));
    box->addButton(QStringLiteral("保存しない(&N)"), QMessageBox::DestructiveRole)
        ->setObjectName(QStringLiteral("btnDontSave"));
    QPushButton* cancel = box->addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    box->setDefaultButton(save);
    box->setEscapeButton(cancel);
    return box;
}

TSaveAnswer TQtUserPrompts::AskSave(const std::string& text, const std::string& title) {
    const std::unique_ptr<QMessageBox> box = NewSaveQuestionBox(text, title, m_Parent);
    box->exec();
    const QString clicked = box->clickedButton() != nullptr ? box->clickedButton()->objectName() : QString();
    if (clicked == QStringLiteral("btnSave")) {
        return TSaveAnswer::Save;
    }
    return clicked == QStringLiteral("btnDontSave") ? TSaveAnswer::DontSave : TSaveAnswer::Cancel;
}

std::optional<std::string> TQtUserPrompts::AskPassword(const std::string& prompt, const std::string& title) {
    QInputDialog box(m_Parent);
    box.setWindowTitle(Q(title));
    box.setLabelText(Q(prompt));
    box.setTextEchoMode(QLineEdit::Password);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("キャンセル"));
    if (auto* edit = box.findChild<QLineEdit*>()) {
        edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }")); // "*"
    }
    // The open that asks shows the busy cursor; typing the password is not waiting.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool ok = box.exec() == QDialog::Accepted;
    QApplication::restoreOverrideCursor();
    if (!ok) {
        return std::nullopt;
    }
    return box.textValue().toStdString();
}

} // namespace hv

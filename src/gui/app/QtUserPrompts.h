#pragma once

#include "platform/UserPrompts.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class QMessageBox;

namespace hv {

// The three-button save question ("保存する(&S)", "保存しない(&N)", "キャンセル"; buttons btnSave,
// btnDontSave, btnCancel) with the question icon, not yet shown.
std::unique_ptr<QMessageBox> NewSaveQuestionBox(const std::string& text, const std::string& title, QWidget* parent);

// The program's message boxes: every message and question of the core, shown over the window
// given (or the active one).
class TQtUserPrompts final : public TUserPrompts {
public:
    explicit TQtUserPrompts(QWidget* parent = nullptr) : m_Parent(parent) {}
    void SetParent(QWidget* parent) { m_Parent = parent; }

    void ShowMessage(TMessageKind kind, const std::string& text, const std::string& title) override;
    bool AskYesNo(const std::string& text, const std::string& title) override;
    TSaveAnswer AskSave(const std::string& text, const std::string& title) override;
    TYesNoCancel AskYesNoCancel(const std::string& text, const std::string& title) override;
    std::optional<std::string> AskPassword(const std::string& prompt, const std::string& title) override;

private:
    QPointer<QWidget> m_Parent;
};

} // namespace hv

#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace hv {

class TUserPrompts;

// "パスワードの設定": the password twice, in two masked fields of at most 16 characters, both
// filled with the current password. OK accepts only equal entries; an empty entry removes the
// protection.
class TPasswordDlg : public QDialog {
    Q_OBJECT

public:
    explicit TPasswordDlg(TUserPrompts& prompts, QWidget* parent = nullptr);

    // Fills both fields with password. Callers then exec() the dialog; tests call CheckOK.
    void Load(const std::string& password);
    // OK: false (after a message) keeps the dialog open. The entries must be equal, and a new
    // password must be one a document can keep (no line break); the loaded password itself always
    // passes, so a document's password that is longer than the fields allow survives an OK.
    bool CheckOK();
    // The accepted entry.
    std::string Password() const;

    void accept() override;

private:
    TUserPrompts& m_Prompts;
    QLineEdit* m_Password1;
    QLineEdit* m_Password2;
    std::string m_Loaded;
};

} // namespace hv

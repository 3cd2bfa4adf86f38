#pragma once

#include "document/HVDocument.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <string>

class QLabel;

namespace hv {

class TPasswordDlg;
class TSettings;
class TUserPrompts;

// path shortened to fit width (measured by measure) the way a path ellipsis does it: the file
// name is kept whole and the directory is cut in its middle ("/home/u.../name.hv"); only when
// the file name alone is too wide is it cut at its end as well.
QString ElidePath(const QString& path, int width, const std::function<int(const QString&)>& measure);

// "ファイルのプロパティ": the document's file name, whether it is modified, whether it has a
// password, the number of folders and items, and the button that sets the password. OK gives
// the document the password the dialog holds; Cancel changes nothing. Its position is kept as
// "FilePropDlgPos".
class TFilePropDlg : public QDialog {
    Q_OBJECT

public:
    // settings may be nullptr: the position is then neither restored nor kept.
    TFilePropDlg(TUserPrompts& prompts, TSettings* settings, QWidget* parent = nullptr);
    ~TFilePropDlg() override;

    // Shows the document's properties (properties and password as the document gives them).
    // Callers then exec() the dialog and Store on OK; tests call the methods themselves.
    void Load(const TFileProperties& properties, const std::string& password);
    // After OK: the document takes the dialog's password when it differs (and is then marked
    // modified). Returns whether it changed.
    bool Store(THVDocument& document) const;

    // The "設定(&P)..." button: the password dialog with the password held here; when it is
    // confirmed, this dialog holds the new password and shows it in its password line.
    bool EditPassword();
    const std::string& Password() const { return m_Password; }

    // How the password dialog is run; tests drive it through its Load, CheckOK and Password
    // instead of showing it. Returns whether OK was chosen.
    using TPasswordRunner = std::function<bool(TPasswordDlg& dialog)>;
    void SetPasswordDialogRunner(TPasswordRunner runner) { m_RunPasswordDialog = std::move(runner); }

private:
    void ShowPassword();

    TUserPrompts& m_Prompts;
    TSettings* m_Settings;
    QLabel* m_lblFileName;
    QLabel* m_lblModified;
    QLabel* m_lblPassword;
    QLabel* m_lblFolderCount;
    QLabel* m_lblItemCount;
    std::string m_Password;
    TPasswordRunner m_RunPasswordDialog;
};

} // namespace hv

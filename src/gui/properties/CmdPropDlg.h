#pragma once

#include "model/HVItems.h"
#include "properties/PropDlgServices.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace hv {

// Edits one command of an item: its title, its command line and whether running it records
// a visit.
class TCmdPropDlg : public QDialog {
    Q_OBJECT
public:
    TCmdPropDlg(TPropDlgServices& services, QWidget* parent = nullptr);
    ~TCmdPropDlg() override;

    // Shows the dialog modally; true only when the user confirmed a real change, and only then
    // is command updated.
    bool Execute(TCmdItem& command);

    // The parts of Execute, for callers and tests that drive the dialog themselves.
    void Load(const TCmdItem& command);
    // The empty-title check of OK; false (after the warning) keeps the dialog open.
    bool CheckOK();
    // After OK: writes the fields into command when one of them differs; returns whether it did.
    bool Store(TCmdItem& command) const;
    // The browse button: the chosen file's path, as it is, becomes the command line.
    void Browse();

    void accept() override;

private:
    void Changed();

    TPropDlgServices& m_Services;
    QLineEdit* m_Title;
    QLineEdit* m_CmdLine;
    QCheckBox* m_UpdateLastVisited;
    QPushButton* m_OK;
    bool m_Loading = false;
};

} // namespace hv

#pragma once

#include <QObject>

#include <functional>

class QAction;

namespace hv {

class TConfigDlg;
class THVWindow;
class TNetworkConnections;
class TSettings;

// The view menu's "設定(&O)..." (`actConfig`): runs the options dialog and, after OK, has the
// main window apply the display settings again.
class TConfigCommand : public QObject {
    Q_OBJECT

public:
    // Without settings the command is disabled.
    TConfigCommand(THVWindow& window, TSettings* settings);

    QAction* actConfig = nullptr;

    // How the dialog is run; tests drive it and return whether OK closed it. Empty: modal.
    using TDialogRunner = std::function<bool(TConfigDlg& dialog)>;
    void SetDialogRunner(TDialogRunner runner) { m_RunDialog = std::move(runner); }
    // The phone book the dialog lists; nullptr asks NetworkManager.
    void SetNetwork(TNetworkConnections* network) { m_Network = network; }

    // Makes the dialog, runs it, lets it go; true when it was closed with OK.
    bool Execute();

private:
    THVWindow& m_Window;
    TSettings* m_Settings;
    TNetworkConnections* m_Network = nullptr;
    TDialogRunner m_RunDialog;
};

} // namespace hv

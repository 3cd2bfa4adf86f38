#include "settings/ConfigCommand.h"

#include "mainwindow/HVWindow.h"
#include "settings/ConfigDlg.h"

#include <QAction>

namespace hv {

TConfigCommand::TConfigCommand(THVWindow& window, TSettings* settings)
    : QObject(&window), m_Window(window), m_Settings(settings) {
    actConfig = new QAction(QStringLiteral("設定(&O)..."), &window);
    actConfig->setObjectName(QStringLiteral("actConfig"));
    actConfig->setEnabled(m_Settings != nullptr);
    connect(actConfig, &QAction::triggered, this, &TConfigCommand::Execute);
}

bool TConfigCommand::Execute() {
    if (m_Settings == nullptr) {
        return false;
    }
    bool ok = false;
    {
        TConfigDlg dialog(*m_Settings, m_Window.Document().RecentFiles(), m_Network, &m_Window);
        ok = m_RunDialog ? m_RunDialog(dialog) : dialog.exec() == QDialog::Accepted;
    }
    if (ok) {
        m_Window.ApplySettings();
    }
    return ok;
}

} // namespace hv

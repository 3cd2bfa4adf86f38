#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <optional>

class QAction;
class QMenu;

namespace hv {

class THVWindow;
class TSettings;
class TTreeMenu;

// The program's icon in the notification area and its menu `TrayIconPopup`. The icon shows
// when TrayIcon is 1, and on minimising unless it is 0; with HideTaskBar the minimised window
// leaves the task bar, so only the icon brings it back. A left click restores the window; the
// right button opens the menu, whose "リスト(&L)" unfolds the whole folder tree.
class TTrayIcon : public QObject {
    Q_OBJECT

public:
    // settings may be nullptr (the defaults).
    TTrayIcon(THVWindow& window, TTreeMenu& treeMenu, TSettings* settings);
    ~TTrayIcon() override;

    QMenu* TrayIconPopup = nullptr;
    QMenu* mniTrayList = nullptr;
    QAction* actTrayOpenFile = nullptr;
    QMenu* mniTrayRecentFiles = nullptr;
    QAction* actTrayRestore = nullptr;
    QAction* actTrayMinimize = nullptr;
    QAction* actTrayExit = nullptr;

    // Reads TrayIcon and HideTaskBar again: the icon shows exactly when TrayIcon is 1 (at start
    // and after the options are confirmed).
    void ApplySettings();
    // The window was minimised, or came back from being minimised.
    void WindowMinimized();
    void WindowRestored();
    // Brings the window back from the tray: shown, restored, raised and activated.
    void RestoreWindow();
    // Prepares TrayIconPopup before it opens: the enabled entries, the tree and the recent files.
    void UpdateMenu();
    // No modal window and no message box or file dialog is open.
    static bool MenuUsable();

    bool IconVisible() const { return m_IconVisible; }
    // The window was hidden on minimising and waits for the tray to bring it back.
    bool WindowHidden() const { return m_WindowHidden; }
    QString Hint() const;
    QSystemTrayIcon* Icon() const { return m_Icon; }
    // Whether the desktop has a notification area; tests set it, nullopt asks the desktop.
    void SetTrayAvailable(std::optional<bool> available) { m_TrayAvailable = available; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenu();
    void SetIconVisible(bool visible);
    void FillRecentFiles();
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void Exit();
    bool TrayAvailable() const;
    int TrayIconSetting() const;
    bool HideTaskBarSetting() const;

    THVWindow& m_Window;
    TTreeMenu& m_TreeMenu;
    TSettings* m_Settings;
    QSystemTrayIcon* m_Icon = nullptr;
    std::optional<bool> m_TrayAvailable;
    bool m_IconVisible = false;
    bool m_Minimized = false;
    bool m_WindowHidden = false;
    bool m_WasMaximized = false;
};

} // namespace hv

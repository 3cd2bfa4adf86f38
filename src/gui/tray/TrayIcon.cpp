#include "tray/TrayIcon.h"

#include "app/DesktopIntegration.h"
#include "document/DocumentCommands.h"
#include "document/HVDocument.h"
#include "document/RecentFiles.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/TreeMenu.h"
#include "model/MenuRules.h"
#include "settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QTimer>
#include <QWindowStateChangeEvent>

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TTrayIcon::TTrayIcon(THVWindow& window, TTreeMenu& treeMenu, TSettings* settings)
    : QObject(&window), m_Window(window), m_TreeMenu(treeMenu), m_Settings(settings) {
    CreateMenu();
    m_Icon = new QSystemTrayIcon(ProgramIcon(), this);
    m_Icon->setObjectName(QStringLiteral("TrayIcon"));
    m_Icon->setContextMenu(TrayIconPopup);
    m_Icon->setToolTip(Hint());
    connect(&window, &QWidget::windowTitleChanged, this, [this] { m_Icon->setToolTip(Hint()); });
    connect(m_Icon, &QSystemTrayIcon::activated, this, &TTrayIcon::OnActivated);
    window.installEventFilter(this);
    m_Minimized = window.isMinimized();
    ApplySettings();
}

TTrayIcon::~TTrayIcon() {
    // The menu belongs to the window and may outlive the icon for a moment.
    m_Icon->setContextMenu(nullptr);
}

void TTrayIcon::CreateMenu() {
    TrayIconPopup = new QMenu(&m_Window);
    TrayIconPopup->setObjectName(QStringLiteral("TrayIconPopup"));
    mniTrayList = new QMenu(TTreeMenu::kListCaption, TrayIconPopup);
    mniTrayList->setObjectName(QStringLiteral("mniTrayList"));
    m_TreeMenu.AddListMenu(mniTrayList);
    TrayIconPopup->addMenu(mniTrayList);
    TrayIconPopup->addSeparator();
    actTrayOpenFile = TrayIconPopup->addAction(QStringLiteral("ファイルを開く(&O)..."));
    actTrayOpenFile->setObjectName(QStringLiteral("actTrayOpenFile"));
    actTrayOpenFile->setIcon(m_Window.DocumentCommands().actOpen->icon());
    mniTrayRecentFiles = new QMenu(QStringLiteral("最近開いたファイル"), TrayIconPopup);
    mniTrayRecentFiles->setObjectName(QStringLiteral("mniTrayRecentFiles"));
    TrayIconPopup->addMenu(mniTrayRecentFiles);
    TrayIconPopup->addSeparator();
    actTrayRestore = TrayIconPopup->addAction(QStringLiteral("元のサイズに戻す(&R)"));
    actTrayRestore->setObjectName(QStringLiteral("actTrayRestore"));
    TrayIconPopup->setDefaultAction(actTrayRestore);
    actTrayMinimize = TrayIconPopup->addAction(QStringLiteral("最小化(&N)"));
    actTrayMinimize->setObjectName(QStringLiteral("actTrayMinimize"));
    actTrayExit = TrayIconPopup->addAction(QStringLiteral("終了(&X)"));
    actTrayExit->setObjectName(QStringLiteral("actTrayExit"));

    // The window's own commands run after the menu has gone.
    connect(actTrayOpenFile, &QAction::triggered, this, [this] { m_Window.DocumentCommands().actOpen->trigger(); });
    connect(actTrayRestore, &QAction::triggered, this, &TTrayIcon::RestoreWindow);
    connect(actTrayMinimize, &QAction::triggered, this, [this] { m_Window.showMinimized(); });
    connect(actTrayExit, &QAction::triggered, this, &TTrayIcon::Exit);
    connect(TrayIconPopup, &QMenu::aboutToShow, this, &TTrayIcon::UpdateMenu);
    connect(TrayIconPopup, &QMenu::aboutToHide, &m_TreeMenu, &TTreeMenu::ScheduleRelease);
    connect(mniTrayList, &QMenu::aboutToShow, this, [this] {
        if (QAction* open = m_TreeMenu.CreateTreeMenu(&m_Window.Document().Root(), mniTrayList, true)) {
            open->setText(TTreeMenu::kOpenRootCaption);
        }
    });
}

int TTrayIcon::TrayIconSetting() const {
    return m_Settings != nullptr ? m_Settings->Get(opt::Main::TrayIcon) : opt::Main::TrayIcon.Default;
}

bool TTrayIcon::HideTaskBarSetting() const {
    return m_Settings != nullptr ? m_Settings->Get(opt::Main::HideTaskBar) : opt::Main::HideTaskBar.Default;
}

bool TTrayIcon::TrayAvailable() const {
    return m_TrayAvailable ? *m_TrayAvailable : QSystemTrayIcon::isSystemTrayAvailable();
}

QString TTrayIcon::Hint() const {
    return Q(TrayHint(m_Window.windowTitle().toStdString()));
}

void TTrayIcon::SetIconVisible(bool visible) {
    m_IconVisible = visible;
    m_Icon->setVisible(visible);
}

void TTrayIcon::ApplySettings() {
    SetIconVisible(TrayIconShownNormally(TrayIconSetting()));
    // Without the icon nothing could bring a hidden window back.
    if (!m_IconVisible && m_WindowHidden) {
        RestoreWindow();
    }
}

void TTrayIcon::WindowMinimized() {
    m_Minimized = true;
    const TTrayMinimize result =
        TrayOnMinimize(TrayIconSetting(), HideTaskBarSetting(), m_IconVisible, TrayAvailable());
    SetIconVisible(result.IconVisible);
    if (result.HideWindow && !m_WindowHidden) {
        m_WindowHidden = true;
        // Hidden once the state change is through; the window manager has iconified it by then.
        QTimer::singleShot(0, this, [this] {
            if (m_WindowHidden && m_Window.isMinimized()) {
                m_Window.hide();
            }
        });
    }
}

void TTrayIcon::WindowRestored() {
    m_Minimized = false;
    m_WindowHidden = false;
    m_WasMaximized = false;
    SetIconVisible(TrayIconAfterRestore(TrayIconSetting(), m_IconVisible));
}

void TTrayIcon::RestoreWindow() {
    // A window that is up already only comes to the front, keeping its size.
    if (m_Window.isMinimized() || m_WindowHidden || !m_Window.isVisible()) {
        if (m_WasMaximized) {
            m_Window.showMaximized();
        } else {
            m_Window.showNormal();
        }
        // A window that was only hidden may report no state change.
        if (m_Minimized && !m_Window.isMinimized()) {
            WindowRestored();
        }
    }
    m_Window.raise();
    m_Window.activateWindow();
}

bool TTrayIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_Window && event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const bool minimized = m_Window.isMinimized();
        if (minimized && !m_Minimized) {
            m_WasMaximized = (change->oldState() & Qt::WindowMaximized) != 0;
            WindowMinimized();
        } else if (!minimized && m_Minimized) {
            WindowRestored();
        }
    }
    return QObject::eventFilter(watched, event);
}

bool TTrayIcon::MenuUsable() {
    if (QApplication::activeModalWidget() != nullptr) {
        return false;
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const QWidget* widget : windows) {
        if (widget->isVisible() && (qobject_cast<const QMessageBox*>(widget) != nullptr ||
                                    qobject_cast<const QFileDialog*>(widget) != nullptr)) {
            return false;
        }
    }
    return true;
}

void TTrayIcon::UpdateMenu() {
    const bool usable = MenuUsable();
    const bool minimized = m_Minimized || m_Window.isMinimized() || m_WindowHidden;
    const TTrayMenuState state = TrayMenuState(usable, minimized);
    m_TreeMenu.ReleaseEntries();
    // The tree is built when "リスト(&L)" unfolds; the root always has its open entry.
    mniTrayList->menuAction()->setEnabled(state.List);
    actTrayOpenFile->setEnabled(state.OpenFile);
    mniTrayRecentFiles->menuAction()->setEnabled(state.RecentFiles);
    actTrayRestore->setEnabled(state.Restore);
    actTrayMinimize->setEnabled(state.Minimize);
    actTrayExit->setEnabled(state.Exit);
    FillRecentFiles();
}

void TTrayIcon::FillRecentFiles() {
    mniTrayRecentFiles->clear();
    const std::vector<std::string> entries = m_Window.Document().RecentFiles().MenuEntries();
    QAction* none = mniTrayRecentFiles->addAction(Q(std::string(kNoRecentFiles)));
    none->setEnabled(false);
    none->setVisible(entries.empty());
    const QIcon icon =
        QIcon::fromTheme(QStringLiteral("text-x-generic"), m_Window.style()->standardIcon(QStyle::SP_FileIcon));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string path = entries[i];
        QAction* action = mniTrayRecentFiles->addAction(icon, Q(TRecentFiles::MenuCaption(path, static_cast<int>(i))));
        action->setStatusTip(Q(TRecentFiles::MenuHint(path)));
        connect(action, &QAction::triggered, this, [this, path] { m_Window.Document().OpenRecent(path); });
    }
}

void TTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    // The right button opens the context menu by itself; a double click adds nothing.
    if (reason == QSystemTrayIcon::Trigger) {
        RestoreWindow();
    }
}

void TTrayIcon::Exit() {
    if (!m_Window.close()) {
        return;
    }
    // A window closed while hidden in the tray does not count as the last one closed.
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            return;
        }
    }
    if (QApplication::quitOnLastWindowClosed()) {
        QCoreApplication::quit();
    }
}

} // namespace hv

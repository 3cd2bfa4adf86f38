#include "search/SearchWindows.h"

#include "mainwindow/HVWindow.h"
#include "search/FindDlg.h"
#include "search/FindDupDlg.h"
#include "search/ResultModels.h"
#include "search/SearchSupport.h"

#include <QAction>
#include <QMenu>
#include <QStyle>

namespace hv {

TSearchWindows::TSearchWindows(THVWindow& window, TSettings* settings, TUserPrompts& prompts)
    : QObject(&window), m_Window(window), m_Settings(settings), m_Prompts(prompts),
      m_Icons(std::make_unique<TRowIcons>(
          QIcon::fromTheme(QStringLiteral("text-html"), window.style()->standardIcon(QStyle::SP_FileLinkIcon)))) {
    actFind = new QAction(QStringLiteral("検索(&S)..."), &window);
    actFind->setObjectName(QStringLiteral("actFind"));
    actFind->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    actFind->setStatusTip(QStringLiteral("アイテムを検索します"));
    actFind->setToolTip(QStringLiteral("検索"));
    actFind->setIcon(QIcon::fromTheme(QStringLiteral("edit-find")));
    connect(actFind, &QAction::triggered, this, &TSearchWindows::ShowFindDlg);
    actFindDup = new QAction(QStringLiteral("重複&URLを検索..."), &window);
    actFindDup->setObjectName(QStringLiteral("actFindDup"));
    actFindDup->setStatusTip(QStringLiteral("同じURLを指しているアイテム・コマンドを検索します"));
    actFindDup->setToolTip(QStringLiteral("重複URLを検索"));
    connect(actFindDup, &QAction::triggered, this, &TSearchWindows::ShowFindDupDlg);

    // The windows keep references into the tree: the main window's notices keep them right.
    connect(&window, &THVWindow::itemAboutToBeFreed, this, [this](THVItem* item) { m_Notices.ItemFreed(item); });
    connect(&window, &THVWindow::folderAboutToBeFreed, this,
            [this](THVFolder* folder) { m_Notices.FolderFreed(folder); });
    connect(&window, &THVWindow::itemMoved, this, [this](THVItem* oldItem, THVItem* newItem, THVFolder* newFolder) {
        m_Notices.ItemMoved(oldItem, newItem, newFolder);
    });
    connect(&window, &THVWindow::itemChanged, this, [this](THVItem* item) { m_Notices.ItemChanged(item); });
    connect(&window, &THVWindow::folderChanged, this, [this](THVFolder* folder) { m_Notices.FolderChanged(folder); });
}

TSearchWindows::~TSearchWindows() {
    // The windows are the main window's children and may outlive this object by a moment:
    // they keep their settings, as closing would, and let go of the hub now.
    if (m_FindDlg != nullptr) {
        m_FindDlg->StoreOptions();
        delete m_FindDlg.data();
    }
    if (m_FindDupDlg != nullptr) {
        m_FindDupDlg->StorePlacement();
        delete m_FindDupDlg.data();
    }
}

TFindDlg* TSearchWindows::FindDlg() const {
    return m_FindDlg.data();
}

TFindDupDlg* TSearchWindows::FindDupDlg() const {
    return m_FindDupDlg.data();
}

void TSearchWindows::FillMenu(QMenu* menu) const {
    menu->addAction(actFind);
    menu->addAction(actFindDup);
}

void TSearchWindows::ShowFindDlg() {
    if (m_FindDlg == nullptr) {
        m_FindDlg = new TFindDlg(m_Window, &m_Notices, m_Settings, m_Prompts, *m_Icons);
    }
    m_FindDlg->show();
    m_FindDlg->raise();
    m_FindDlg->activateWindow();
}

void TSearchWindows::ShowFindDupDlg() {
    if (m_FindDupDlg == nullptr) {
        m_FindDupDlg = new TFindDupDlg(m_Window, &m_Notices, m_Settings, *m_Icons);
    }
    m_FindDupDlg->show();
    m_FindDupDlg->raise();
    m_FindDupDlg->activateWindow();
}

void TSearchWindows::ApplySettings() {
    if (m_FindDlg != nullptr) {
        ApplyResultHotTrack(m_FindDlg->List(), m_Settings);
    }
    if (m_FindDupDlg != nullptr) {
        ApplyResultHotTrack(m_FindDupDlg->List(), m_Settings);
    }
}

} // namespace hv

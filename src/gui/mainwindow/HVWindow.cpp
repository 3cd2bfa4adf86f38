#include "mainwindow/HVWindow.h"

#include "Errors.h"
#include "document/DocumentCommands.h"
#include "importexport/BrowserImport.h"
#include "importexport/ExportActions.h"
#include "importexport/ImportActions.h"
#include "mainwindow/ClipboardActions.h"
#include "mainwindow/DragDrop.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/StatusPanels.h"
#include "mainwindow/TreeMenu.h"
#include "mainwindow/WindowLayout.h"
#include "model/HVFolder.h"
#include "model/ItemOrder.h"
#include "search/SearchWindows.h"
#include "settings/ConfigCommand.h"
#include "settings/RestorePos.h"
#include "settings/Settings.h"
#include "tray/TrayIcon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace hv {

THVWindow::THVWindow(TSettings* settings, TUserPrompts* prompts, QWidget* parent)
    : QMainWindow(parent), m_OwnPrompts(this), m_Prompts(prompts != nullptr ? *prompts : m_OwnPrompts),
      m_Settings(settings),
      m_Document(std::make_unique<THVDocument>(m_Prompts, settings, static_cast<TDocumentView*>(this))) {
    setObjectName(QStringLiteral("HVWindow"));
    setAcceptDrops(true);
    setWindowIcon(TFolderIcons::ProgramIcon());
    CreateWidgets();
    m_Model = new TFolderTreeModel(this);
    m_Model->SetIcons(TFolderIcons::Standard(style()));
    m_TreeEdits.AddObserver(m_Model);
    m_FolderTree = new TFolderTreeController(m_TreeView, m_Model, *m_Document, m_TreeEdits, m_Prompts, m_Settings,
                                             m_Panels[0], this);
    m_Commands = new TDocumentCommands(*m_Document, this, &m_Prompts, m_Settings);
    m_ItemController = new TItemListController({m_ItemList, m_Memo, m_lblTitle, m_lblURL, m_Panels[1], m_Panels[2],
                                                findChild<QListView*>(QStringLiteral("ListViewNames"))},
                                               *m_Document, m_TreeEdits, m_Prompts, m_Settings, this);
    m_TreeEdits.AddObserver(this);
    connect(m_FolderTree, &TFolderTreeController::folderShown, m_ItemController, &TItemListController::ShowFolder);
    CreateMenus();
    m_Tray = new TTrayIcon(*this, *m_TreeMenu, m_Settings);
    m_FolderTree->SetMemoBox(m_Memo);
    // Whenever a menu of the window closes, the folder commands follow the selection again.
    for (QAction* action : menuBar()->actions()) {
        if (QMenu* menu = action->menu()) {
            connect(menu, &QMenu::aboutToHide, m_FolderTree, &TFolderTreeController::ScheduleMenuReset);
        }
    }

    if (m_Settings != nullptr) {
        m_Document->RecentFiles().Load(*m_Settings);
    }
    m_Document->New();
    RestoreLayout();
    ApplySettings();
}

THVWindow::~THVWindow() {
    StoreLayout();
    m_TreeEdits.RemoveObserver(this);
    // The views let go of the tree before the document frees it.
    m_ItemController->ShowFolder(nullptr);
    m_TreeView->setModel(nullptr);
    m_Model->BeginReset();
    m_Model->EndReset(nullptr);
}

void THVWindow::ItemAboutToBeFreed(THVItem& item) {
    emit itemAboutToBeFreed(&item);
}

void THVWindow::FolderAboutToBeFreed(THVFolder& folder) {
    emit folderAboutToBeFreed(&folder);
    // A folder that goes away takes the shown items with it.
    THVFolder* shown = m_ItemController->ShownFolder();
    if (shown != nullptr && shown->IsInside(&folder)) {
        m_ItemController->ShowFolder(nullptr);
    }
}

void THVWindow::ItemMoved(THVItem& oldItem, THVItem& newItem, THVFolder& newFolder) {
    emit itemMoved(&oldItem, &newItem, &newFolder);
}

void THVWindow::ItemChanged(THVItem& item) {
    emit itemChanged(&item);
}

void THVWindow::FolderChanged(THVFolder& folder) {
    emit folderChanged(&folder);
}

void THVWindow::ShowFolderItem(THVFolder* folder, const THVItem* item) {
    m_FolderTree->OpenFolderNow(folder);
    if (item != nullptr && m_ItemController->ShownFolder() == folder && m_ItemController->SelectItem(item)) {
        m_ItemList->setFocus();
    }
}

void THVWindow::ApplySettings() {
    m_FolderTree->ApplySettings();
    m_ItemController->ApplySettings();
    m_Layout->ApplyDisplaySettings();
    m_SearchWindows->ApplySettings();
    m_Tray->ApplySettings();
}

void THVWindow::CreateWidgets() {
    m_TreeView = new QTreeView;
    m_TreeView->setObjectName(QStringLiteral("TreeView"));
    m_ItemList = new QTreeView;
    m_ItemList->setObjectName(QStringLiteral("ListView"));

    m_TreeSplitter = new QSplitter(Qt::Horizontal);
    m_TreeSplitter->setObjectName(QStringLiteral("TreeSplitter"));
    m_TreeSplitter->addWidget(m_TreeView);
    // The item list shows its report or its names.
    auto* names = new QListView;
    names->setObjectName(QStringLiteral("ListViewNames"));
    auto* listPanel = new QStackedWidget;
    listPanel->setObjectName(QStringLiteral("pnlList"));
    listPanel->addWidget(m_ItemList);
    listPanel->addWidget(names);
    m_TreeSplitter->addWidget(listPanel);
    m_TreeSplitter->setStretchFactor(1, 1);

    auto* info = new QFrame;
    info->setObjectName(QStringLiteral("InfoPanel"));
    info->setFrameShape(QFrame::StyledPanel);
    info->setMinimumWidth(160);
    info->setMaximumWidth(320);
    auto* infoLayout = new QVBoxLayout(info);
    infoLayout->setContentsMargins(4, 2, 4, 2);
    m_lblTitle = new QLabel;
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_lblTitle->setTextFormat(Qt::PlainText);
    QFont bold = m_lblTitle->font();
    bold.setBold(true);
    m_lblTitle->setFont(bold);
    m_lblURL = new QLabel;
    m_lblURL->setObjectName(QStringLiteral("lblURL"));
    m_lblURL->setTextFormat(Qt::PlainText);
    for (QLabel* label : {m_lblTitle, m_lblURL}) {
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        infoLayout->addWidget(label);
    }
    infoLayout->addStretch(1);
    m_InfoPanel = info;
    m_Memo = new QPlainTextEdit;
    m_Memo->setObjectName(QStringLiteral("RichEdit"));
    m_Memo->setReadOnly(true);
    auto* bottom = new QWidget;
    bottom->setObjectName(QStringLiteral("BottomPanel"));
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(m_InfoPanel);
    bottomLayout->addWidget(m_Memo, 1);

    m_MainSplitter = new QSplitter(Qt::Vertical);
    m_MainSplitter->addWidget(m_TreeSplitter);
    m_MainSplitter->addWidget(bottom);
    m_MainSplitter->setStretchFactor(0, 1);
    setCentralWidget(m_MainSplitter);

    m_Layout = new TWindowLayout(
        *this, {m_TreeSplitter, m_MainSplitter, bottom, m_InfoPanel, m_lblTitle, m_lblURL, m_Memo}, m_Settings);
    for (std::size_t i = 0; i < m_Panels.size(); ++i) {
        m_Panels[i] = m_Layout->Panels().Panel(static_cast<int>(i));
    }
}

void THVWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    m_Commands->FillMenu(file);
    // The imports stand between the merge and the file's properties.
    m_Imports = new TImportActions(*this, m_Prompts, m_Settings);
    file->insertMenu(m_Commands->actFileProp, m_Imports->ImportMenu());
    m_BrowserImport = new TBrowserImport(*this, m_Prompts, this);
    file->insertAction(m_Commands->actFileProp, m_BrowserImport->actImportBrowserBookmarks);
    m_Exports = new TExportActions(*this, m_Prompts, m_Settings);
    file->insertMenu(m_Commands->actFileProp, m_Exports->ExportMenu());
    file->insertSeparator(m_Commands->actFileProp);
    QMenu* folder = menuBar()->addMenu(QStringLiteral("フォルダ(&O)"));
    m_FolderTree->FillMenu(folder);
    m_TreeMenu = new TTreeMenu(*this);
    m_TreeMenu->AttachFolderMenu(folder);
    m_TreeMenu->AttachTreePopup(m_FolderTree->TreeViewPopup, [this] { return m_FolderTree->PopupTarget(); });
    QMenu* item = menuBar()->addMenu(QStringLiteral("アイテム(&I)"));
    m_ItemController->FillMenu(item);
    m_Clipboard = new TClipboardActions(*this, m_Settings);
    m_Clipboard->FillItemMenu(item);
    m_DragDrop = new TDragDrop(*this, *m_Clipboard);
    QMenu* view = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    view->addAction(m_ItemController->actViewReport);
    m_Layout->FillViewMenu(view);
    m_Config = new TConfigCommand(*this, m_Settings);
    view->addSeparator();
    view->addAction(m_Config->actConfig);
    m_SearchWindows = new TSearchWindows(*this, m_Settings, m_Prompts);
    m_SearchWindows->FillMenu(menuBar()->addMenu(QStringLiteral("検索(&S)")));
    m_DebugMenu = menuBar()->addMenu(QStringLiteral("デバッグ(&D)"));
    m_DebugMenu->setObjectName(QStringLiteral("mniDebug"));
    m_DebugMenu->menuAction()->setVisible(false);
    m_DebugMenu->addAction(QStringLiteral("ビュー状態を書き出す(&W)"), this, [this] { m_Document->WriteViewState(); });
    // Shows what the application's exception handler makes of an error nobody caught.
    QAction* raise = m_DebugMenu->addAction(QStringLiteral("例外を発生させる(&E)"), this,
                                            [] { throw EHVError("デバッグメニューから発生させた例外"); });
    raise->setObjectName(QStringLiteral("actRaiseException"));

    m_Layout->Wire();
}

void THVWindow::SetDebugMode(bool on) {
    m_Document->SetDebugMode(on);
    m_DebugMenu->menuAction()->setVisible(on);
}

void THVWindow::RestoreLayout() {
    m_Layout->Restore();
}

void THVWindow::StoreLayout() {
    if (m_Settings == nullptr || m_LayoutStored) {
        return;
    }
    m_LayoutStored = true;
    m_Document->RecentFiles().Store(*m_Settings);
    m_ItemController->StoreLayout();
    m_Layout->Store();
}

void THVWindow::StartUpOpen(const QString& commandLinePath, TDocumentPreload* preload) {
    const std::string path =
        StartUpDocumentPath(QFile::encodeName(commandLinePath).toStdString(), m_Settings, m_Document->RecentFiles());
    if (!path.empty()) {
        m_Document->Open(path, preload);
    }
}

void THVWindow::closeEvent(QCloseEvent* event) {
    if (!m_Document->SavePrompt()) {
        event->ignore();
        return;
    }
    StoreLayout();
    event->accept();
}

void THVWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void THVWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile()) {
        event->acceptProposedAction();
        const QString path = urls.first().toLocalFile();
        // Opened after the drop has ended, so that the save question does not block the source.
        QMetaObject::invokeMethod(
            this, [this, path] { m_Commands->OpenDropped(path); }, Qt::QueuedConnection);
    }
}

void THVWindow::CaptionChanged(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void THVWindow::BusyChanged(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void THVWindow::RootAboutToChange() {
    if (m_TreeMenu != nullptr) {
        m_TreeMenu->ForgetAll();
    }
    if (m_ItemController != nullptr) {
        m_ItemController->ShowFolder(nullptr);
    }
    if (m_FolderTree != nullptr) {
        m_FolderTree->RootAboutToChange();
    }
}

void THVWindow::RootChanged() {
    if (m_FolderTree != nullptr) {
        m_FolderTree->RootChanged(FolderAtPosition(m_Document->Root(), m_Document->ViewState().Selected));
        m_TreeView->setFocus();
    }
}

void THVWindow::TreeAboutToChange() {
    // A merge may add items to the shown folder: the rows are filled again afterwards.
    m_ItemController->ShowFolder(nullptr);
    m_FolderTree->TreeAboutToChange();
}

void THVWindow::TreeChanged() {
    m_FolderTree->TreeChanged();
    m_ItemController->ShowFolder(m_FolderTree->ShownFolder());
}

void THVWindow::ChangeTree(const std::function<void()>& change) {
    TreeAboutToChange();
    try {
        change();
    } catch (...) {
        TreeChanged();
        throw;
    }
    TreeChanged();
}

const THVFolder* THVWindow::SelectedFolder() const {
    return m_FolderTree == nullptr ? nullptr : m_FolderTree->SelectedFolder();
}

std::optional<std::string> THVWindow::AskSaveFileName() {
    return m_Commands->AskSaveFileName();
}

} // namespace hv

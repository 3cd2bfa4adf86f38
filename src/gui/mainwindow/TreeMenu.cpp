#include "mainwindow/TreeMenu.h"

#include "document/HVDocument.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemCommandMenu.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListModel.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/MenuRules.h"
#include "model/TreeEdits.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <string>

namespace hv {

namespace {

// Set on a folder's sub-menu once its contents are in.
constexpr const char* kFilled = "hvTreeMenuFilled";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QList<QAction*> CreateCommandEntries(const THVItem& item, const QIcon& openIcon, QObject* parent,
                                     const std::function<void(const TCmdItem& command)>& run) {
    QList<QAction*> entries;
    for (const TCmdItem& command : item.GetCommands()) {
        auto* action = new QAction(CommandIcon(command.CommandLine, openIcon), Q(command.Title), parent);
        action->setStatusTip(Q(command.CommandLine));
        QObject::connect(action, &QAction::triggered, parent, [run, command] { run(command); });
        entries << action;
    }
    return entries;
}

TTreeMenu::TTreeMenu(THVWindow& window) : QObject(&window), m_Window(window) {
    connect(&window, &THVWindow::itemAboutToBeFreed, this, &TTreeMenu::OnItemFreed);
    connect(&window, &THVWindow::folderAboutToBeFreed, this, &TTreeMenu::OnFolderFreed);
    connect(&window, &THVWindow::itemMoved, this,
            [this](THVItem* oldItem, THVItem* newItem, THVFolder*) { OnItemMoved(oldItem, newItem); });
}

TTreeMenu::~TTreeMenu() = default;

void TTreeMenu::AddListMenu(QMenu* menu) {
    m_ListMenus.push_back(menu);
    connect(menu, &QObject::destroyed, this, [this, menu] {
        m_ListMenus.erase(std::remove(m_ListMenus.begin(), m_ListMenus.end(), menu), m_ListMenus.end());
    });
}

void TTreeMenu::AttachFolderMenu(QMenu* folderMenu) {
    mniFolderList = new QMenu(kListCaption, folderMenu);
    mniFolderList->setObjectName(QStringLiteral("mniFolderList"));
    AddListMenu(mniFolderList);
    const QList<QAction*> actions = folderMenu->actions();
    QAction* first = actions.isEmpty() ? nullptr : actions.first();
    folderMenu->insertMenu(first, mniFolderList);
    folderMenu->insertSeparator(first);
    connect(mniFolderList, &QMenu::aboutToShow, this, [this] {
        if (QAction* open = CreateTreeMenu(&m_Window.Document().Root(), mniFolderList, true)) {
            open->setText(kOpenRootCaption);
        }
    });
    connect(folderMenu, &QMenu::aboutToHide, this, &TTreeMenu::ScheduleRelease);
}

void TTreeMenu::AttachTreePopup(QMenu* popup, std::function<THVFolder*()> target) {
    mniTreeList = new QMenu(kListCaption, popup);
    mniTreeList->setObjectName(QStringLiteral("mniTreeList"));
    AddListMenu(mniTreeList);
    const QList<QAction*> actions = popup->actions();
    QAction* first = actions.isEmpty() ? nullptr : actions.first();
    popup->insertMenu(first, mniTreeList);
    popup->insertSeparator(first);
    // The target is taken when the context menu opens; the list is built when it unfolds.
    connect(popup, &QMenu::aboutToShow, this, [this, target = std::move(target)] {
        ReleaseEntries();
        THVFolder* folder = target();
        m_TreeTarget = NewRef(folder, nullptr);
        m_TreeWithOpen = folder != nullptr && folder != m_Window.FolderTree().SelectedFolder();
        const bool hasEntries = folder != nullptr && (folder->ChildCount() > 0 || folder->List().Count() > 0);
        mniTreeList->menuAction()->setEnabled(m_TreeWithOpen || hasEntries);
    });
    connect(mniTreeList, &QMenu::aboutToShow, this, [this] {
        if (m_TreeTarget && m_TreeTarget->Folder != nullptr) {
            const TRefPtr target = m_TreeTarget;
            CreateTreeMenu(target->Folder, mniTreeList, m_TreeWithOpen);
            m_TreeTarget = target;
        }
    });
    connect(popup, &QMenu::aboutToHide, this, &TTreeMenu::ScheduleRelease);
}

TTreeMenu::TRefPtr TTreeMenu::NewRef(THVFolder* folder, THVItem* item) {
    auto ref = std::make_shared<TRef>(TRef{folder, item});
    m_Refs.push_back(ref);
    return ref;
}

QAction* TTreeMenu::CreateTreeMenu(THVFolder* folder, QMenu* parent, bool withOpen) {
    ReleaseEntries();
    if (folder == nullptr) {
        return nullptr;
    }
    QAction* open = nullptr;
    if (withOpen) {
        open = AddOpenEntry(parent, folder);
    }
    parent->setProperty(kFilled, true);
    FillFolder(parent, *folder);
    return open;
}

QAction* TTreeMenu::AddOpenEntry(QMenu* menu, THVFolder* folder) {
    auto* open = new QAction(m_Window.FolderModel()->Icons().Open, kOpenCaption, menu);
    open->setEnabled(folder != m_Window.FolderTree().SelectedFolder());
    const TRefPtr ref = NewRef(folder, nullptr);
    connect(open, &QAction::triggered, this, [this, ref] { OpenFolder(ref); });
    const QList<QAction*> actions = menu->actions();
    menu->insertAction(actions.isEmpty() ? nullptr : actions.first(), open);
    menu->addSeparator();
    return open;
}

void TTreeMenu::FillFolder(QMenu* menu, THVFolder& folder) {
    int k = 0;
    for (const auto& child : folder.Children()) {
        THVFolder* sub = child.get();
        auto* subMenu = new QMenu(Q(AccelCaption(sub->Name(), k++)), menu);
        subMenu->setIcon(m_Window.FolderModel()->Icons().Closed);
        AddOpenEntry(subMenu, sub);
        const TRefPtr ref = NewRef(sub, nullptr);
        // Filled the first time it opens, so that closed branches cost nothing.
        connect(subMenu, &QMenu::aboutToShow, this, [this, subMenu, ref] {
            if (subMenu->property(kFilled).toBool()) {
                return;
            }
            subMenu->setProperty(kFilled, true);
            if (ref->Folder != nullptr) {
                FillFolder(subMenu, *ref->Folder);
            }
        });
        menu->addMenu(subMenu);
    }
    THVList& list = folder.List();
    if (list.Count() > 1) {
        m_Window.TreeEdits().SortItems(list, m_Window.ItemList().Order());
    }
    for (int i = 0; i < list.Count(); ++i) {
        AddItemEntry(menu, *list.Items(i), k++);
    }
    // An empty folder keeps only its open entry.
    const QList<QAction*> actions = menu->actions();
    if (actions.size() == 2 && actions.at(1)->isSeparator()) {
        menu->removeAction(actions.at(1));
        delete actions.at(1);
    }
    menu->menuAction()->setEnabled(!menu->actions().isEmpty());
}

void TTreeMenu::AddItemEntry(QMenu* menu, THVItem& item, int k) {
    const QString caption = Q(AccelCaption(item.GetName(), k));
    const QString url = Q(item.GetURL());
    const QIcon icon = m_Window.ItemList().Model()->IconOf(item);
    const TRefPtr ref = NewRef(nullptr, &item);
    if (item.GetCommands().Count() == 0) {
        auto* entry = new QAction(icon, caption, menu);
        entry->setStatusTip(url);
        connect(entry, &QAction::triggered, this, [this, ref] { OpenItem(ref); });
        menu->addAction(entry);
        return;
    }
    auto* subMenu = new QMenu(caption, menu);
    subMenu->setIcon(icon);
    subMenu->menuAction()->setStatusTip(url);
    const QIcon openIcon = m_Window.ItemList().actOpenItem->icon();
    QAction* open = subMenu->addAction(openIcon, kOpenCaption);
    open->setStatusTip(url);
    connect(open, &QAction::triggered, this, [this, ref] { OpenItem(ref); });
    subMenu->addActions(CreateCommandEntries(item, openIcon, subMenu,
                                             [this, ref](const TCmdItem& command) { RunCommand(ref, command); }));
    menu->addMenu(subMenu);
}

void TTreeMenu::OpenFolder(const TRefPtr& ref) {
    if (ref->Folder != nullptr) {
        m_Window.FolderTree().SelectFolder(ref->Folder);
    }
}

void TTreeMenu::OpenItem(const TRefPtr& ref) {
    if (ref->Item == nullptr) {
        return;
    }
    // The launch may ask questions, and the item may go meanwhile: it works on a copy of the
    // address, and the reference tells whether the item is still there.
    const std::string url = ref->Item->GetURL();
    if (m_Window.ItemList().Launch(url) && ref->Item != nullptr) {
        m_Window.ItemList().RecordAccess(*ref->Item);
    }
}

void TTreeMenu::RunCommand(const TRefPtr& ref, const TCmdItem& command) {
    if (m_Window.ItemList().Launch(command.CommandLine) && command.UpdateLastVisited && ref->Item != nullptr) {
        m_Window.ItemList().RecordAccess(*ref->Item);
    }
}

void TTreeMenu::ReleaseEntries() {
    m_ReleasePending = false;
    m_TreeTarget.reset();
    for (QMenu* menu : m_ListMenus) {
        const QList<QAction*> actions = menu->actions();
        for (QAction* action : actions) {
            menu->removeAction(action);
            // Not deleted at once: the chosen entry may still be running its launch.
            if (QMenu* sub = action->menu()) {
                sub->deleteLater();
            } else if (action->parent() == menu) {
                action->deleteLater();
            }
        }
        menu->setProperty(kFilled, false);
    }
    Prune();
}

void TTreeMenu::ScheduleRelease() {
    if (m_ReleasePending) {
        return;
    }
    m_ReleasePending = true;
    QTimer::singleShot(0, this, [this] {
        if (!m_ReleasePending) {
            return;
        }
        for (QMenu* menu : m_ListMenus) {
            if (menu->isVisible()) {
                m_ReleasePending = false;
                return;
            }
        }
        ReleaseEntries();
    });
}

void TTreeMenu::ForgetAll() {
    for (const TRefPtr& ref : m_Refs) {
        ref->Folder = nullptr;
        ref->Item = nullptr;
    }
    Prune();
}

void TTreeMenu::OnItemFreed(THVItem* item) {
    for (const TRefPtr& ref : m_Refs) {
        if (ref->Item == item) {
            ref->Item = nullptr;
        }
    }
    Prune();
}

void TTreeMenu::OnFolderFreed(THVFolder* folder) {
    for (const TRefPtr& ref : m_Refs) {
        if (ref->Folder != nullptr && ref->Folder->IsInside(folder)) {
            ref->Folder = nullptr;
        }
        if (ref->Item != nullptr && ref->Item->Owner() != nullptr && ref->Item->Owner()->Node() != nullptr &&
            ref->Item->Owner()->Node()->IsInside(folder)) {
            ref->Item = nullptr;
        }
    }
    Prune();
}

void TTreeMenu::OnItemMoved(THVItem* oldItem, THVItem* newItem) {
    for (const TRefPtr& ref : m_Refs) {
        if (ref->Item == oldItem) {
            ref->Item = newItem;
        }
    }
}

void TTreeMenu::Prune() {
    // A reference nobody but this list holds belongs to an entry that is gone.
    std::erase_if(m_Refs, [](const TRefPtr& ref) { return ref.use_count() == 1; });
}

} // namespace hv

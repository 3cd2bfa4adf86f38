#pragma once

#include <QIcon>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;

namespace hv {

class TCmdItem;
class THVFolder;
class THVItem;
class THVWindow;

// The entries of item's commands, in order, each owned by parent: caption = the command's title,
// hint = its command line, the program's icon (or openIcon for a web address). Choosing one calls
// run with a copy of the command, so the item may go while the launch asks its questions.
QList<QAction*> CreateCommandEntries(const THVItem& item, const QIcon& openIcon, QObject* parent,
                                     const std::function<void(const TCmdItem& command)>& run);

// The menus that unfold the folder tree: "リスト(&L)" of the folder menu, of the tree's context
// menu and of the tray menu. Folders become sub-menus, filled the first time they open; items
// become entries that open them; items with commands become sub-menus of their commands. The
// entries live until the next tree menu is built or the first idle moment after the menu closed;
// an item or folder freed meanwhile makes its entries do nothing.
class TTreeMenu : public QObject {
    Q_OBJECT

public:
    explicit TTreeMenu(THVWindow& window);
    ~TTreeMenu() override;

    inline static const QString kOpenCaption = QStringLiteral("開く(&O)");
    inline static const QString kOpenRootCaption = QStringLiteral("ルートフォルダを開く(&O)");
    inline static const QString kListCaption = QStringLiteral("リスト(&L)");

    // "リスト(&L)" of the folder menu and of the tree's context menu.
    QMenu* mniFolderList = nullptr;
    QMenu* mniTreeList = nullptr;

    // Puts "リスト(&L)" at the top of the folder menu: the whole tree from the root.
    void AttachFolderMenu(QMenu* folderMenu);
    // Puts "リスト(&L)" at the top of the tree's context menu: the folder target() names when the
    // menu opens; the open entry only when that is not the selected folder.
    void AttachTreePopup(QMenu* popup, std::function<THVFolder*()> target);
    // A persistent menu whose entries are all built here; released with the others.
    void AddListMenu(QMenu* menu);

    // Fills parent with the entries of folder: with withOpen "開く(&O)" (disabled for the selected
    // folder) and a separator first, then the sub-folders and the items with their accelerators.
    // Every entry built before is released first. Returns the open entry, or nullptr.
    QAction* CreateTreeMenu(THVFolder* folder, QMenu* parent, bool withOpen);
    // Destroys the entries built so far (at once out of the menus, the objects once idle).
    void ReleaseEntries();
    // Releases the entries at the next idle moment (after a menu closed and its choice ran).
    void ScheduleRelease();
    // Entries of the document that is going away do nothing any more.
    void ForgetAll();

private:
    struct TRef {
        THVFolder* Folder = nullptr;
        THVItem* Item = nullptr;
    };
    using TRefPtr = std::shared_ptr<TRef>;

    TRefPtr NewRef(THVFolder* folder, THVItem* item);
    QAction* AddOpenEntry(QMenu* menu, THVFolder* folder);
    void FillFolder(QMenu* menu, THVFolder& folder);
    void AddItemEntry(QMenu* menu, THVItem& item, int k);
    void OpenFolder(const TRefPtr& ref);
    void OpenItem(const TRefPtr& ref);
    void RunCommand(const TRefPtr& ref, const TCmdItem& command);
    void OnItemFreed(THVItem* item);
    void OnFolderFreed(THVFolder* folder);
    void OnItemMoved(THVItem* oldItem, THVItem* newItem);
    void Prune();

    THVWindow& m_Window;
    std::vector<QMenu*> m_ListMenus;
    std::vector<TRefPtr> m_Refs;
    // The folder the tree's context menu was opened on, and whether its list opens it.
    TRefPtr m_TreeTarget;
    bool m_TreeWithOpen = false;
    bool m_ReleasePending = false;
};

} // namespace hv

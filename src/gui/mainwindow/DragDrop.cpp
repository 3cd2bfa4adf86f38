#include "mainwindow/DragDrop.h"

#include "document/HVDocument.h"
#include "exchange/ClipFormats.h"
#include "mainwindow/ClipboardActions.h"
#include "mainwindow/FolderTreeController.h"
#include "mainwindow/FolderTreeModel.h"
#include "mainwindow/HVDataObject.h"
#include "mainwindow/HVWindow.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListViews.h"
#include "mainwindow/X11Selection.h"
#include "model/HVFolder.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QListView>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace hv {

namespace {

Qt::DropAction ActionOf(TDropEffect effect) {
    switch (effect) {
    case TDropEffect::Move:
        return Qt::MoveAction;
    case TDropEffect::Copy:
    case TDropEffect::CopyOrMove:
        return Qt::CopyAction;
    case TDropEffect::Link:
        return Qt::LinkAction;
    case TDropEffect::None:
        break;
    }
    return Qt::IgnoreAction;
}

// How long after a drag the receiver may still take the data.
constexpr int kTakenWait = 30000;

QString Latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TDragDrop::TDragDrop(THVWindow& window, TClipboardActions& clipboard)
    : QObject(&window), m_Window(window), m_Clipboard(clipboard) {
    m_RunDrag = [this](THVDataObject* data, Qt::DropActions actions) {
        auto* drag = new QDrag(&m_Window);
        drag->setMimeData(data);
        return drag->exec(actions, Qt::MoveAction);
    };
    std::vector<QAbstractItemView*> views{m_Window.TreeView(), m_Window.ListView()};
    if (QListView* names = m_Window.ItemList().Views().Names()) {
        views.push_back(names);
    }
    for (QAbstractItemView* view : views) {
        view->setAcceptDrops(true);
        view->viewport()->setAcceptDrops(true);
        // A press on a selected row keeps the other selected rows, so that they can be dragged.
        view->setDragEnabled(view != m_Window.TreeView());
        view->viewport()->installEventFilter(this);
    }
    connect(&m_Window, &THVWindow::itemAboutToBeFreed, this, &TDragDrop::ItemAboutToBeFreed);
    connect(&m_Window, &THVWindow::folderAboutToBeFreed, this, &TDragDrop::FolderAboutToBeFreed);
}

void TDragDrop::ItemAboutToBeFreed(THVItem* item) {
    std::erase(m_DraggedItems, item);
    std::erase(m_PendingItems, item);
}

void TDragDrop::FolderAboutToBeFreed(THVFolder* folder) {
    if (m_DraggedFolder != nullptr && m_DraggedFolder->IsInside(folder)) {
        m_DraggedFolder = nullptr;
    }
    if (m_PendingFolder != nullptr && m_PendingFolder->IsInside(folder)) {
        m_PendingFolder = nullptr;
    }
}

Qt::DropAction TDragDrop::RunDrag(THVDataObject* data) {
    return m_RunDrag(data, Qt::CopyAction | Qt::MoveAction);
}

void TDragDrop::AwaitTaken(THVDataObject* data, const std::function<bool(const QString&)>& settle) {
    const int generation = ++m_PendingGeneration;
    auto once = [this, generation, settle](const QString& type) {
        if (generation == m_PendingGeneration && settle(type)) {
            ++m_PendingGeneration;
        }
    };
    for (const QString& type : data->TakenFormats()) {
        once(type);
    }
    if (generation != m_PendingGeneration) {
        return;
    }
    // On X11 the drag loop ends with the drop, before the receiver has asked for the data; what
    // it takes afterwards still counts, for a while.
    connect(data, &THVDataObject::formatTaken, this, once, Qt::QueuedConnection);
    QTimer::singleShot(kTakenWait, this, [this, generation] {
        if (generation == m_PendingGeneration) {
            ++m_PendingGeneration;
            m_PendingItems.clear();
            m_PendingFolder = nullptr;
        }
    });
}

void TDragDrop::DragSelectedItems() {
    TItemListController& list = m_Window.ItemList();
    std::vector<THVItem*> items = list.SelectedItems();
    if (items.empty() || m_Origin != TDragOrigin::Elsewhere) {
        return;
    }
    list.StoreMemo();
    m_DraggedItems = items;
    m_Origin = TDragOrigin::ItemsFromThisList;
    auto* data = new THVDataObject(std::vector<const THVItem*>(items.begin(), items.end()));
    const QPointer<THVDataObject> guard(data);
    const Qt::DropAction result = RunDrag(data);
    m_Origin = TDragOrigin::Elsewhere;
    ++m_PendingGeneration; // a new drag ends the wait for the last one
    m_PendingFolder = nullptr;
    m_PendingItems = std::move(m_DraggedItems);
    m_DraggedItems.clear();
    // Items moved within this window, or gone, have nothing left to do.
    if (m_PendingItems.empty() || guard == nullptr || result == Qt::IgnoreAction) {
        m_PendingItems.clear();
        return;
    }
    const bool move = result == Qt::MoveAction;
    const bool browser = !move && IsBrowserWindowClass(WindowClassUnderPointer().toStdString());
    if (!move && !browser) {
        m_PendingItems.clear();
        return;
    }
    AwaitTaken(guard, [this, move, browser](const QString& type) {
        if (m_PendingItems.empty()) {
            return true;
        }
        if (move && type == OwnMimeType()) {
            // They live in the receiver now.
            const std::vector<THVItem*> items = std::move(m_PendingItems);
            m_PendingItems.clear();
            m_Window.ItemList().DeleteItemsWithoutAsking(items);
            return true;
        }
        if (browser && (type == Latin(kMozUrlFormat) || type == Latin(kUriListFormat) || type == Latin(kTextFormat))) {
            THVItem* first = m_PendingItems.front();
            m_PendingItems.clear();
            m_Window.ItemList().RecordAccess(*first);
            return true;
        }
        return false;
    });
}

void TDragDrop::DragSelectedFolder() {
    TFolderTreeController& tree = m_Window.FolderTree();
    THVFolder* folder = tree.SelectedFolder();
    if (folder == nullptr || m_Origin != TDragOrigin::Elsewhere) {
        return;
    }
    m_Window.ItemList().StoreMemo();
    m_DraggedFolder = folder;
    m_Origin = TDragOrigin::FolderFromThisTree;
    auto* data = new THVDataObject(*folder);
    const QPointer<THVDataObject> guard(data);
    const Qt::DropAction result = RunDrag(data);
    m_Origin = TDragOrigin::Elsewhere;
    ++m_PendingGeneration;
    m_PendingItems.clear();
    m_PendingFolder = m_DraggedFolder;
    m_DraggedFolder = nullptr;
    // A receiver that does not take the records has not got the folder: nothing is deleted then.
    if (m_PendingFolder == nullptr || guard == nullptr || result != Qt::MoveAction) {
        m_PendingFolder = nullptr;
        return;
    }
    AwaitTaken(guard, [this](const QString& type) {
        if (m_PendingFolder == nullptr) {
            return true;
        }
        if (type != OwnMimeType()) {
            return false;
        }
        THVFolder* moved = m_PendingFolder;
        m_PendingFolder = nullptr;
        DeleteMovedFolder(moved);
        return true;
    });
}

void TDragDrop::DeleteMovedFolder(THVFolder* folder) {
    TFolderTreeController& tree = m_Window.FolderTree();
    THVFolder& root = m_Window.Document().Root();
    if (folder != &root) {
        tree.DeleteFolderWithoutAsking(folder);
        return;
    }
    // The root stays, emptied.
    while (root.ChildCount() > 0) {
        tree.DeleteFolderWithoutAsking(root.Child(root.ChildCount() - 1));
    }
    std::vector<THVItem*> items;
    for (int i = 0; i < root.List().Count(); ++i) {
        items.push_back(root.List().Items(i));
    }
    if (!items.empty()) {
        m_Window.ItemList().DeleteItemsWithoutAsking(items);
    }
    m_Window.Document().MarkModified();
    tree.OpenFolderNow(&root);
}

bool TDragDrop::StartsDrag(QAbstractItemView* view, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const bool onRow = view->indexAt(mouse->position().toPoint()).isValid();
        m_PressView = mouse->button() == Qt::LeftButton && onRow ? view : nullptr;
        m_PressPos = mouse->position().toPoint();
        m_DragEnded = false;
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_PressView = nullptr;
        if (m_DragEnded) {
            // The release of the button that dragged is the drag's, not a click.
            m_DragEnded = false;
            return true;
        }
        return false;
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_PressView != view || !mouse->buttons().testFlag(Qt::LeftButton) ||
            (mouse->position().toPoint() - m_PressPos).manhattanLength() < QApplication::startDragDistance()) {
            return false;
        }
        m_PressView = nullptr;
        const QModelIndex pressed = view->indexAt(m_PressPos);
        if (view == m_Window.TreeView()) {
            if (m_Window.FolderModel()->nodeFromIndex(pressed) != m_Window.FolderTree().SelectedFolder()) {
                return false;
            }
            DragSelectedFolder();
            m_DragEnded = true;
            return true;
        }
        // Alt with the mouse keeps its other meanings.
        if (mouse->modifiers().testFlag(Qt::AltModifier) ||
            !view->selectionModel()->isRowSelected(pressed.row(), pressed.parent())) {
            return false;
        }
        DragSelectedItems();
        m_DragEnded = true;
        return true;
    }
    default:
        return false;
    }
}

TDropEffect TDragDrop::EffectFor(const QDropEvent& event, THVFolder* target) const {
    const THVFolder* selected =
        m_Origin == TDragOrigin::FolderFromThisTree ? m_DraggedFolder : m_Window.FolderTree().SelectedFolder();
    const TDropFormat format = m_Origin == TDragOrigin::Elsewhere && event.mimeData() != nullptr
                                   ? PreferredDropFormat(*event.mimeData())
                                   : TDropFormat::Own;
    const Qt::KeyboardModifiers mods = event.modifiers();
    return DropEffect(m_Origin, target, selected, format, mods.testFlag(Qt::ControlModifier),
                      mods.testFlag(Qt::ShiftModifier));
}

bool TDragDrop::ApplyEffect(QDropEvent& event, TDropEffect effect) const {
    Qt::DropAction action = ActionOf(effect);
    if (action != Qt::IgnoreAction && !event.possibleActions().testFlag(action)) {
        // A program that offers no link (or no copy) still gets what it offers.
        action = m_Origin == TDragOrigin::Elsewhere
                     ? (event.possibleActions().testFlag(Qt::CopyAction) ? Qt::CopyAction : event.proposedAction())
                     : Qt::IgnoreAction;
    }
    if (action == Qt::IgnoreAction) {
        event.setDropAction(Qt::IgnoreAction);
        event.ignore();
        return false;
    }
    event.setDropAction(action);
    event.accept();
    return true;
}

bool TDragDrop::TreeEvent(QEvent* event) {
    TFolderTreeController& tree = m_Window.FolderTree();
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (event->type() == QEvent::DragEnter) {
            tree.DragEnter();
        }
        THVFolder* under = tree.DragOver(drag->position().toPoint());
        const TDropEffect effect = EffectFor(*drag, under != nullptr ? under : tree.SelectedFolder());
        if (!ApplyEffect(*drag, effect) && event->type() == QEvent::DragEnter &&
            (m_Origin != TDragOrigin::Elsewhere || PreferredDropFormat(*drag->mimeData()) != TDropFormat::None)) {
            drag->accept(); // refused here, but perhaps not over another row
        }
        return true;
    }
    case QEvent::DragLeave:
        tree.DragLeave();
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        THVFolder* under =
            m_Window.FolderModel()->nodeFromIndex(m_Window.TreeView()->indexAt(drop->position().toPoint()));
        THVFolder* target = under != nullptr ? under : tree.SelectedFolder();
        tree.DragLeave();
        const TDropEffect effect = EffectFor(*drop, target);
        if (!ApplyEffect(*drop, effect)) {
            return true;
        }
        if (effect == TDropEffect::Move && m_Origin == TDragOrigin::FolderFromThisTree) {
            tree.MoveFolderInto(m_DraggedFolder, target);
            // Done here: the source must delete nothing.
            drop->setDropAction(Qt::CopyAction);
        } else if (effect == TDropEffect::Move && m_Origin == TDragOrigin::ItemsFromThisList) {
            const std::vector<THVItem*> items = std::move(m_DraggedItems);
            m_DraggedItems.clear();
            m_Window.ItemList().MoveItemsTo(items, target);
        } else if (!m_Clipboard.Paste(drop->mimeData(), target, TPasteSource::Drop)) {
            // Nothing came in: a mover must keep its data.
            drop->setDropAction(Qt::IgnoreAction);
            drop->ignore();
        }
        return true;
    }
    default:
        return false;
    }
}

bool TDragDrop::ListEvent(QEvent* event) {
    THVFolder* selected = m_Window.FolderTree().SelectedFolder();
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        ApplyEffect(*drag, EffectFor(*drag, selected));
        return true;
    }
    case QEvent::DragLeave:
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (ApplyEffect(*drop, EffectFor(*drop, selected)) &&
            !m_Clipboard.Paste(drop->mimeData(), selected, TPasteSource::Drop)) {
            drop->setDropAction(Qt::IgnoreAction);
            drop->ignore();
        }
        return true;
    }
    default:
        return false;
    }
}

bool TDragDrop::eventFilter(QObject* watched, QEvent* event) {
    QAbstractItemView* view = nullptr;
    if (watched == m_Window.TreeView()->viewport()) {
        view = m_Window.TreeView();
    } else if (watched == m_Window.ListView()->viewport()) {
        view = m_Window.ListView();
    } else if (QListView* names = m_Window.ItemList().Views().Names();
               names != nullptr && watched == names->viewport()) {
        view = names;
    }
    if (view == nullptr) {
        return QObject::eventFilter(watched, event);
    }
    if (StartsDrag(view, event)) {
        return true;
    }
    const bool handled = view == m_Window.TreeView() ? TreeEvent(event) : ListEvent(event);
    return handled || QObject::eventFilter(watched, event);
}

} // namespace hv

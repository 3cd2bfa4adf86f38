#pragma once

#include "exchange/DropEffect.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <vector>

class QAbstractItemView;
class QDropEvent;
class QMimeData;

namespace hv {

class TClipboardActions;
class THVDataObject;
class THVFolder;
class THVItem;
class THVWindow;

// Drag and drop of the main window: the folder tree and the item list as drag sources (a
// folder, the selected items) and as drop targets, with the effect the modifier keys and the
// places choose, and what a drop does (move a folder or items within the window, or paste).
class TDragDrop : public QObject {
    Q_OBJECT

public:
    TDragDrop(THVWindow& window, TClipboardActions& clipboard);

    // What a drag from here is dragging while its loop runs; Elsewhere otherwise.
    TDragOrigin Origin() const { return m_Origin; }

    // Runs the system's drag loop for data offering actions and returns the action the drop
    // took. Tests put a runner in that drops the data themselves.
    using TDragRunner = std::function<Qt::DropAction(THVDataObject* data, Qt::DropActions actions)>;
    void SetDragRunner(TDragRunner runner) { m_RunDrag = std::move(runner); }

    // The drags from here, as a mouse drag starts them.
    void DragSelectedItems();
    void DragSelectedFolder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool TreeEvent(QEvent* event);
    bool ListEvent(QEvent* event);
    bool StartsDrag(QAbstractItemView* view, QEvent* event);
    TDropEffect EffectFor(const QDropEvent& event, THVFolder* target) const;
    // Sets the event's action from the effect (none: refused); false when refused.
    bool ApplyEffect(QDropEvent& event, TDropEffect effect) const;
    Qt::DropAction RunDrag(THVDataObject* data);
    // Calls settle with each format data's receiver took and takes, until settle says it is done
    // or the time is up or another drag starts.
    void AwaitTaken(THVDataObject* data, const std::function<bool(const QString&)>& settle);
    // A folder moved to another program: deleted here, the root emptied.
    void DeleteMovedFolder(THVFolder* folder);
    void ItemAboutToBeFreed(THVItem* item);
    void FolderAboutToBeFreed(THVFolder* folder);

    THVWindow& m_Window;
    TClipboardActions& m_Clipboard;
    TDragRunner m_RunDrag;
    TDragOrigin m_Origin = TDragOrigin::Elsewhere;
    // What is being dragged, kept up to date when things are freed during the drag.
    std::vector<THVItem*> m_DraggedItems;
    THVFolder* m_DraggedFolder = nullptr;
    // After a drag, what waits for the receiver to take the data.
    std::vector<THVItem*> m_PendingItems;
    THVFolder* m_PendingFolder = nullptr;
    int m_PendingGeneration = 0;
    QPoint m_PressPos;
    QPointer<QAbstractItemView> m_PressView;
    // A drag started by the mouse has ended; the button's release may still come.
    bool m_DragEnded = false;
};

} // namespace hv

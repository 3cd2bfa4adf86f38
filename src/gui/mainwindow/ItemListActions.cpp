#include "mainwindow/ItemCommandMenu.h"
#include "mainwindow/ItemListController.h"
#include "mainwindow/ItemListModel.h"
#include "mainwindow/ItemListViews.h"
#include "model/HVItems.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTreeView>
#include <QWidget>

// The item commands: their actions, the item menu and the list's keys.

namespace hv {

void TItemListController::CreateActions(QWidget* window) {
    auto make = [window](const char* text, const char* name) {
        auto* action = new QAction(QString::fromUtf8(text), window);
        action->setObjectName(QString::fromUtf8(name));
        return action;
    };
    actOpenItem = make("開く(&O)", "actOpenItem");
    actOpenItem->setIcon(QIcon::fromTheme(QStringLiteral("internet-web-browser"),
                                          window->style()->standardIcon(QStyle::SP_DialogOpenButton)));
    connect(actOpenItem, &QAction::triggered, this, [this] { OpenCurrentItem(); });
    actItemProp = make("プロパティ(&R)...", "actItemProp");
    connect(actItemProp, &QAction::triggered, this, [this] { EditCurrentItem(); });
    actAddItem = make("追加(&A)...", "actAddItem");
    actAddItem->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Insert));
    connect(actAddItem, &QAction::triggered, this, [this] { AddItem(); });
    actMoveItem = make("他のフォルダに移動(&M)...", "actMoveItem");
    connect(actMoveItem, &QAction::triggered, this, &TItemListController::MoveSelectedItems);
    actCopyItem = make("他のフォルダにコピー(&C)...", "actCopyItem");
    connect(actCopyItem, &QAction::triggered, this, &TItemListController::CopySelectedItems);
    actDeleteItem = make("削除(&D)", "actDeleteItem");
    connect(actDeleteItem, &QAction::triggered, this, &TItemListController::DeleteSelectedItems);
    actViewReport = make("詳細表示(&T)", "actViewReport");
    actViewReport->setCheckable(true);
    actViewReport->setChecked(true);
    connect(actViewReport, &QAction::triggered, this, [this](bool checked) { SetReportView(checked); });

    actNameOrder = make("名前順(&N)", "actNameOrder");
    actURLOrder = make("URL順(&U)", "actURLOrder");
    actDateOrder = make("アクセス日時順(&D)", "actDateOrder");
    auto* types = new QActionGroup(this);
    int type = 0;
    for (QAction* action : {actNameOrder, actURLOrder, actDateOrder}) {
        action->setCheckable(true);
        types->addAction(action);
        connect(action, &QAction::triggered, this, [this, type] { SetSortType(type); });
        ++type;
    }
    actAscending = make("昇順(&A)", "actAscending");
    actDescending = make("降順(&E)", "actDescending");
    auto* directions = new QActionGroup(this);
    for (QAction* action : {actAscending, actDescending}) {
        action->setCheckable(true);
        directions->addAction(action);
    }
    connect(actAscending, &QAction::triggered, this, [this] { SetSortDescending(false); });
    connect(actDescending, &QAction::triggered, this, [this] { SetSortDescending(true); });
}

void TItemListController::FillMenu(QMenu* menu) {
    menu->addAction(actOpenItem);
    menu->addAction(actItemProp);
    menu->addSeparator();
    menu->addAction(actAddItem);
    menu->addAction(actMoveItem);
    menu->addAction(actCopyItem);
    menu->addAction(actDeleteItem);
    menu->addSeparator();
    QMenu* sort = menu->addMenu(QStringLiteral("並べ替え(&S)"));
    sort->addAction(actNameOrder);
    sort->addAction(actURLOrder);
    sort->addAction(actDateOrder);
    sort->addSeparator();
    sort->addAction(actAscending);
    sort->addAction(actDescending);
    m_CommandMenu->Attach(menu, [this] { UpdateActions(); });
}

bool TItemListController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_Memo && event->type() == QEvent::FocusOut) {
        StoreMemo();
    }
    if (!m_Views->IsView(watched) || event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    // Keys the name editor passes on (Enter, once it has handed the new name over for checking)
    // are the editor's: they neither open nor add nor delete anything.
    const auto* view = static_cast<QWidget*>(watched);
    if (QWidget* focus = view->focusWidget(); focus != nullptr && focus != view && view->isAncestorOf(focus)) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods == Qt::NoModifier) {
            OpenCurrentItem();
            return true;
        }
        if (mods == Qt::AltModifier) {
            EditCurrentItem();
            return true;
        }
        break;
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier) {
            AddItem();
            return true;
        }
        break;
    case Qt::Key_Delete:
        if (mods == Qt::NoModifier) {
            DeleteSelectedItems();
            return true;
        }
        break;
    case Qt::Key_F2:
        if (mods == Qt::NoModifier) {
            const std::vector<THVItem*> items = SelectedItems();
            if (!items.empty()) {
                m_Views->Current()->edit(m_Model->IndexOf(items.front()));
            }
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hv

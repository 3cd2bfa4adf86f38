#include "mainwindow/ItemCommandMenu.h"

#include "launch/CommandLine.h"
#include "mainwindow/TreeMenu.h"
#include "model/HVItems.h"
#include "platform/Process.h"

#include <QAction>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMenu>

#include <optional>

namespace hv {

namespace {

// Marks the command entries put into a menu while it is open.
constexpr const char* kCommandEntry = "hvItemCommand";

} // namespace

QIcon CommandIcon(const std::string& commandLine, const QIcon& openIcon) {
    if (IsWebAddress(commandLine)) {
        return openIcon;
    }
    const std::optional<TCommandLineParts> parts = SplitCommandLine(commandLine);
    if (!parts) {
        return {};
    }
    const std::optional<std::string> program = FindProgram(parts->Program, DefaultSearchPath());
    if (!program) {
        return {};
    }
    const QFileInfo info(QFile::decodeName(program->c_str()));
    const QIcon themed = QIcon::fromTheme(info.fileName());
    return themed.isNull() ? QFileIconProvider().icon(info) : themed;
}

TItemCommandMenu::TItemCommandMenu(QAction* openAction, TCurrentItem currentItem, TRunCommand run, QObject* parent)
    : QObject(parent), m_Open(openAction), m_CurrentItem(std::move(currentItem)), m_Run(std::move(run)) {}

void TItemCommandMenu::Attach(QMenu* menu, std::function<void()> beforeShow) {
    connect(menu, &QMenu::aboutToShow, this, [this, menu, beforeShow = std::move(beforeShow)] {
        if (beforeShow) {
            beforeShow();
        }
        Insert(menu);
    });
    // A chosen entry is triggered after the menu has hidden; it goes after that.
    connect(menu, &QMenu::aboutToHide, this, [this, menu] {
        QMetaObject::invokeMethod(
            this, [this, menu] { Remove(menu); }, Qt::QueuedConnection);
    });
}

void TItemCommandMenu::Insert(QMenu* menu) {
    Remove(menu);
    const THVItem* item = m_CurrentItem();
    if (!m_Open->isEnabled() || item == nullptr) {
        return;
    }
    m_Open->setStatusTip(QString::fromStdString(item->GetURL()));
    const QList<QAction*> actions = menu->actions();
    const qsizetype open = actions.indexOf(m_Open);
    QAction* before = open >= 0 && open + 1 < actions.size() ? actions.at(open + 1) : nullptr;
    // The same entries as an item's sub-menu in the tree menus.
    const QList<QAction*> entries =
        CreateCommandEntries(*item, m_Open->icon(), menu, [this](const TCmdItem& command) { m_Run(command); });
    for (QAction* action : entries) {
        action->setProperty(kCommandEntry, true);
        menu->insertAction(before, action);
    }
}

void TItemCommandMenu::Remove(QMenu* menu) {
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions) {
        if (action->property(kCommandEntry).toBool()) {
            menu->removeAction(action);
            // Not deleted at once: it may be the entry whose command is running.
            action->deleteLater();
        }
    }
}

} // namespace hv

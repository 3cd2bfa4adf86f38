#pragma once

#include <QIcon>
#include <QObject>

#include <functional>
#include <string>

class QAction;
class QMenu;

namespace hv {

class TCmdItem;
class THVItem;

// The picture of a command in the menus: a web address shows openIcon, a program found on the
// search path its own icon (from the icon theme or the file icon provider), anything else none.
QIcon CommandIcon(const std::string& commandLine, const QIcon& openIcon);

// Lists the current item's commands in menus right after the open action while they are open:
// each entry shows the command's title and picture and runs the command; the open action's hint
// becomes the item's URL. The entries go once the menu has closed and the chosen one has run.
class TItemCommandMenu : public QObject {
    Q_OBJECT

public:
    // currentItem: the item whose commands are listed, nullptr for none.
    using TCurrentItem = std::function<THVItem*()>;
    using TRunCommand = std::function<void(const TCmdItem& command)>;
    TItemCommandMenu(QAction* openAction, TCurrentItem currentItem, TRunCommand run, QObject* parent);

    // Lists the commands in menu whenever it opens; beforeShow runs first (to update actions).
    void Attach(QMenu* menu, std::function<void()> beforeShow);
    void Insert(QMenu* menu);
    void Remove(QMenu* menu);

private:
    QAction* m_Open;
    TCurrentItem m_CurrentItem;
    TRunCommand m_Run;
};

} // namespace hv

#pragma once

#include "mainwindow/LayoutRules.h"

#include <QObject>

#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace hv {

class TSettings;

// Where the icon theme has no icon for a name, the program's own drawing stands in. Call before
// the first icon is looked up.
void InstallFallbackIcons();
// Gives every action of window that has a name of ours its hint: the short part as the tool
// tip, the long part as the status tip, which the status bar shows. An action that already
// carries a status tip keeps its own. Actions without an icon get their theme icon.
void DecorateActions(QObject* window);

// The five tool bars of the tool-bar area, tags 1 to 5 as their show actions, movable within
// the area and each shown or hidden by its action. A button is one Add line.
class TToolBars : public QObject {
    Q_OBJECT

public:
    enum : int { FileBar = 1, FolderBar, ItemBar, ViewBar, FindBar };
    static constexpr int kBarCount = 5;

    explicit TToolBars(QMainWindow& window);

    QToolBar* tbrFile = nullptr;
    QToolBar* tbrFolder = nullptr;
    QToolBar* tbrItem = nullptr;
    QToolBar* tbrView = nullptr;
    QToolBar* tbrFind = nullptr;
    QAction* actShowFileBar = nullptr;
    QAction* actShowFolderBar = nullptr;
    QAction* actShowItemBar = nullptr;
    QAction* actShowViewBar = nullptr;
    QAction* actShowFindBar = nullptr;

    QToolBar* Bar(int tag) const;
    QAction* ShowAction(int tag) const;
    // Adds action's button to bar; dropDown, when given, opens behind the button's arrow.
    void Add(QToolBar* bar, QAction* action, QMenu* dropDown = nullptr);
    // "ツールバー(&T)" with the five show actions.
    QMenu* BarsMenu() const { return m_Menu; }

    // The bars' places and visibility from FileBar…ViewBar, and Flat; and back.
    void Restore(TSettings& settings);
    void Store(TSettings& settings) const;
    // The height of the tool-bar area while any bar shows, else 0.
    int AreaHeight() const;

private:
    void Toggle(int tag, bool visible);
    // The top of the tool-bar area, in the window.
    int AreaTop() const;

    QMainWindow& m_Window;
    std::array<QToolBar*, kBarCount> m_Bars{};
    std::array<QAction*, kBarCount> m_Shows{};
    // Where each bar was read at start, or last was before it was hidden.
    std::array<TToolBarPlace, kBarCount> m_Places{};
    QMenu* m_Menu = nullptr;
};

} // namespace hv

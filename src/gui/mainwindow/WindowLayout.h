#pragma once

#include "mainwindow/LayoutRules.h"

#include <QObject>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QWidget;

namespace hv {

class THintDispatcher;
class THVWindow;
class TSettings;
class TStatusPanels;
class TToolBars;

// The arrangement of the main window: the tree beside or above the list (actVertical), the
// bottom part shown or hidden (actCompact), the tool bars and the status panels, the rich
// hints, and the layout values kept between runs.
class TWindowLayout : public QObject {
    Q_OBJECT

public:
    struct TWidgets {
        QSplitter* ViewSplit = nullptr;   // the tree and the list
        QSplitter* BottomSplit = nullptr; // the view panel and the bottom part
        QWidget* Bottom = nullptr;
        QWidget* InfoPanel = nullptr;
        QLabel* Title = nullptr;
        QLabel* URL = nullptr;
        QPlainTextEdit* Memo = nullptr;
    };
    TWindowLayout(THVWindow& window, const TWidgets& widgets, TSettings* settings);
    ~TWindowLayout() override;

    QAction* actVertical = nullptr;
    QAction* actCompact = nullptr;
    TToolBars& ToolBars() const { return *m_Bars; }
    TStatusPanels& Panels() const { return *m_Panels; }
    THintDispatcher* Hints() const { return m_Hints; }

    // The view menu's own entries: the layout switches and the tool-bar menu.
    void FillViewMenu(QMenu* menu) const;
    // Once the controllers exist: the tool bars' buttons, the sort menu of panel 2, the hints,
    // every action's hint and icon.
    void Wire();
    // The settings the layout follows whenever they are loaded: MemoFont, the hints.
    void ApplyDisplaySettings();

    // Stored sizes and switches onto the window (placement is the window's own business).
    void Restore();
    void Store();

    bool IsVertical() const { return m_Vertical; }
    bool IsCompact() const { return m_Compact; }
    void SetVertical(bool on);
    void SetCompact(bool on);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int TreeSize() const;
    void ApplyTreeLimit();
    void ApplyBottomLimit();

    THVWindow& m_Window;
    TWidgets m_Widgets;
    TSettings* m_Settings;
    TToolBars* m_Bars;
    TStatusPanels* m_Panels;
    THintDispatcher* m_Hints = nullptr;
    bool m_Vertical = false;
    bool m_Compact = false;
    int m_TreeWidth = 120;
    int m_TreeHeight = 100;
    int m_BottomHeight = 70;
    int m_StatusHeight = 0;
};

} // namespace hv

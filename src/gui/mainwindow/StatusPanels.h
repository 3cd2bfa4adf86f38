#pragma once

#include "mainwindow/LayoutRules.h"

#include <QLabel>
#include <QObject>

#include <array>

class QMenu;
class QStatusBar;

namespace hv {

// One panel of the status bar: its text on one line, vertically centred, 1 pixel in from both
// sides, "&" shown as it is. A path panel loses the middle of a long path at "\" boundaries.
class TStatusPanel : public QLabel {
    Q_OBJECT

public:
    explicit TStatusPanel(bool path, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_Path;
};

// The status bar's four panels: the user drags the grips between panels 0-2 to widen or narrow
// them (16 to 240 pixels); a right click in panel 2 opens the sort menu; panel 3 shows the long
// hint of whatever action or control is under the mouse.
class TStatusPanels : public QObject {
    Q_OBJECT

public:
    static constexpr int kPanelCount = 4;
    explicit TStatusPanels(QStatusBar* bar, QObject* parent);

    TStatusPanel* Panel(int index) const { return m_Panels.at(static_cast<std::size_t>(index)); }
    void SetSortPopup(QMenu* menu) { m_SortPopup = menu; }
    QMenu* SortPopup() const { return m_SortPopup; }
    void SetWidths(const std::array<int, kPanelCount>& widths);
    std::array<int, kPanelCount> Widths() const;
    // The panel whose grip lies at x (status bar coordinates), or -1.
    int GripAt(int x) const;
    // The long hint goes to panel 3.
    void ShowLongHint(const QString& text);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStatusBar* m_Bar;
    std::array<TStatusPanel*, kPanelCount> m_Panels{};
    QMenu* m_SortPopup = nullptr;
    int m_Resizing = -1;
};

} // namespace hv

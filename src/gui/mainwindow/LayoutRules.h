#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace hv {

// The window's layout arithmetic, kept apart from the widgets so that it can be checked
// without a screen.

inline constexpr int kDefaultPanelWidth = 40;
inline constexpr int kMinPanelWidth = 16;
inline constexpr int kMaxPanelWidth = 240;
// The bottom part never gets lower than this.
inline constexpr int kBottomPanelMinHeight = 69;
// The list beside or below the tree keeps at least this much.
inline constexpr int kViewSplitMinSize = 30;

// The widths of StatusPanelWidths; a missing, unreadable or negative entry counts as 40.
std::array<int, 4> ParsePanelWidths(const QString& text);
QString FormatPanelWidths(const std::array<int, 4>& widths);

// Whether a dragged status panel may take width.
constexpr bool PanelWidthAllowed(int width) {
    return width >= kMinPanelWidth && width <= kMaxPanelWidth;
}

// The tree's size (width side by side, height when vertical) in a view panel of panelSize:
// never so big that the list gets less than the splitter's minimum.
int LimitTreeSize(int wanted, int panelSize, int splitterSize);

// The tallest the bottom part may become: the client height less the splitter, 4 pixels and
// the tool-bar area when that shows.
int MaxBottomHeight(int clientHeight, int splitterSize, int toolBarAreaHeight);

// One tool bar's stored place: "%d,%d,%d" with visible (1 or 0), left and top.
struct TToolBarPlace {
    bool Visible = true;
    int Left = 0;
    int Top = 0;
    bool operator==(const TToolBarPlace&) const = default;
};
// Missing or unreadable numbers keep the given default's values.
TToolBarPlace ParseToolBarPlace(const QString& text, const TToolBarPlace& fallback);
QString FormatToolBarPlace(const TToolBarPlace& place);
// The bars' order within the tool-bar area: rows from the top (bars whose tops lie within
// rowHeight / 2 of the row's first share the row), each row from the left. Returns the
// indexes of places, one vector per row.
std::vector<std::vector<int>> ArrangeToolBars(const std::vector<TToolBarPlace>& places, int rowHeight);

// A path that does not fit in maxWidth loses its middle at "\" boundaries: the first part and
// as many trailing parts as fit around "…". Without such a cut that fits, the text is cut at
// its end.
QString ElidePathMiddle(const QString& path, int maxWidth, const std::function<int(const QString&)>& width);

} // namespace hv

#include "mainwindow/LayoutRules.h"

#include <algorithm>
#include <numeric>

namespace hv {

std::array<int, 4> ParsePanelWidths(const QString& text) {
    std::array<int, 4> widths{};
    const QStringList parts = text.split(QLatin1Char(','));
    for (std::size_t i = 0; i < widths.size(); ++i) {
        bool ok = false;
        const auto at = static_cast<qsizetype>(i);
        const int width = at < parts.size() ? parts.at(at).trimmed().toInt(&ok) : 0;
        // A negative width is as unreadable as a word.
        widths[i] = ok && width >= 0 ? width : kDefaultPanelWidth;
    }
    return widths;
}

QString FormatPanelWidths(const std::array<int, 4>& widths) {
    QStringList parts;
    for (const int width : widths) {
        parts << QString::number(width);
    }
    return parts.join(QLatin1Char(','));
}

int LimitTreeSize(int wanted, int panelSize, int splitterSize) {
    return std::max(0, std::min(wanted, panelSize - splitterSize - kViewSplitMinSize));
}

int MaxBottomHeight(int clientHeight, int splitterSize, int toolBarAreaHeight) {
    return std::max(kBottomPanelMinHeight, clientHeight - splitterSize - 4 - toolBarAreaHeight);
}

TToolBarPlace ParseToolBarPlace(const QString& text, const TToolBarPlace& fallback) {
    const QStringList parts = text.split(QLatin1Char(','));
    const auto number = [&parts](qsizetype index, int otherwise) {
        bool ok = false;
        const int value = index < parts.size() ? parts.at(index).trimmed().toInt(&ok) : 0;
        return ok ? value : otherwise;
    };
    return {number(0, fallback.Visible ? 1 : 0) != 0, number(1, fallback.Left), number(2, fallback.Top)};
}

QString FormatToolBarPlace(const TToolBarPlace& place) {
    return QStringLiteral("%1,%2,%3").arg(place.Visible ? 1 : 0).arg(place.Left).arg(place.Top);
}

std::vector<std::vector<int>> ArrangeToolBars(const std::vector<TToolBarPlace>& places, int rowHeight) {
    std::vector<int> order(places.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&places](int a, int b) {
        const auto& pa = places[static_cast<std::size_t>(a)];
        const auto& pb = places[static_cast<std::size_t>(b)];
        return pa.Top != pb.Top ? pa.Top < pb.Top : pa.Left < pb.Left;
    });
    std::vector<std::vector<int>> rows;
    int rowTop = 0;
    for (const int index : order) {
        const int top = places[static_cast<std::size_t>(index)].Top;
        if (rows.empty() || top - rowTop >= std::max(1, rowHeight / 2)) {
            rows.emplace_back();
            rowTop = top;
        }
        rows.back().push_back(index);
    }
    for (auto& row : rows) {
        std::stable_sort(row.begin(), row.end(), [&places](int a, int b) {
            return places[static_cast<std::size_t>(a)].Left < places[static_cast<std::size_t>(b)].Left;
        });
    }
    return rows;
}

QString ElidePathMiddle(const QString& path, int maxWidth, const std::function<int(const QString&)>& width) {
    if (width(path) <= maxWidth) {
        return path;
    }
    const QString ellipsis = QStringLiteral("…");
    const QStringList parts = path.split(QLatin1Char('\\'));
    if (parts.size() >= 3) {
        // The first part stays; trailing parts are added while the whole still fits.
        QString best;
        for (qsizetype kept = parts.size() - 2; kept >= 1; --kept) {
            const QString candidate = parts.first() + QLatin1Char('\\') + ellipsis + QLatin1Char('\\') +
                                      parts.mid(parts.size() - kept).join(QLatin1Char('\\'));
            if (width(candidate) <= maxWidth) {
                best = candidate;
                break;
            }
        }
        if (!best.isEmpty()) {
            return best;
        }
    }
    QString cut = path;
    while (!cut.isEmpty() && width(cut + ellipsis) > maxWidth) {
        cut.chop(1);
    }
    return cut + ellipsis;
}

} // namespace hv

#include "mainwindow/TreeHintWindow.h"

#include "model/HVItems.h"

#include <QPainter>

#include <algorithm>

namespace hv {

namespace {

constexpr int kMargin = 3;
constexpr int kTop = 2;
constexpr int kCountGap = 12;
constexpr int kMoreIndent = 16;

} // namespace

bool THVTreeHintWindow::NeedsRedraw(const QString& text, const void* data) const {
    if (TTamHintWindow::NeedsRedraw(text, data)) {
        return true;
    }
    const TFolderHintText now = FolderHintText(text, static_cast<const THVList*>(data));
    return now.Count != m_Shown.Count || now.Names != m_Shown.Names || now.More != m_Shown.More;
}

QSize THVTreeHintWindow::DrawHint(QPainter* painter, int maxWidth) {
    m_Shown = FolderHintText(HintText(), static_cast<const THVList*>(HintData()));
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics metrics(font());
    const int lineHeight = std::max(boldMetrics.height(), metrics.height());

    const int countWidth = metrics.horizontalAdvance(m_Shown.Count);
    int width = kMargin + boldMetrics.horizontalAdvance(m_Shown.Name) + kCountGap + countWidth + kMargin;
    for (const QString& name : m_Shown.Names) {
        width = std::max(width, kMargin + metrics.horizontalAdvance(name) + 2 * kMargin);
    }
    width = std::min(width, maxWidth);
    const bool hasItems = !m_Shown.Names.isEmpty();
    const int lines = static_cast<int>(m_Shown.Names.size()) + (m_Shown.More ? 1 : 0);
    const int separator = hasItems ? kTop + 2 : 0;
    const int height = kTop + lineHeight + separator + lines * metrics.height() + kTop;
    if (painter == nullptr) {
        return {width, height};
    }

    const QColor text = palette().color(QPalette::ToolTipText);
    painter->setPen(text);
    painter->setFont(bold);
    const QRect nameRect(kMargin, kTop, width - 2 * kMargin - countWidth - kCountGap / 2, lineHeight);
    painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      boldMetrics.elidedText(m_Shown.Name, Qt::ElideRight, nameRect.width()));
    painter->setFont(font());
    painter->drawText(QRect(0, kTop, width - kMargin, lineHeight), Qt::AlignRight | Qt::AlignVCenter, m_Shown.Count);
    int y = kTop + lineHeight;
    if (!hasItems) {
        return {width, height};
    }
    y += 1;
    painter->setPen(palette().color(QPalette::Button).darker(115));
    painter->drawLine(0, y, width, y);
    y += separator - 1;
    painter->setPen(text);
    for (const QString& name : m_Shown.Names) {
        painter->drawText(QRect(kMargin, y, width - 2 * kMargin, metrics.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          metrics.elidedText(name, Qt::ElideRight, width - 2 * kMargin));
        y += metrics.height();
    }
    if (m_Shown.More) {
        painter->drawText(QRect(kMargin + kMoreIndent, y, width, metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                          QStringLiteral("…"));
    }
    return {width, height};
}

} // namespace hv

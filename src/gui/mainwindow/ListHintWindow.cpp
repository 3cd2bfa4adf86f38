#include "mainwindow/ListHintWindow.h"

#include "model/HVItems.h"
#include "platform/Clock.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace hv {

namespace {

constexpr int kMargin = 3;
constexpr int kGap = 2;
constexpr int kMarkWidth = 10;

// The memo broken into lines of at most width pixels, at word boundaries where there are any.
QStringList WrapText(const QString& text, const QFont& font, int width) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line = paragraph;
        line.remove(QLatin1Char('\r'));
        QTextLayout layout(line, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine textLine = layout.createLine(); textLine.isValid(); textLine = layout.createLine()) {
            textLine.setLineWidth(width);
            lines << line.mid(textLine.textStart(), textLine.textLength());
        }
        layout.endLayout();
        if (line.isEmpty()) {
            lines << QString();
        }
    }
    return lines;
}

} // namespace

QSize THVListHintWindow::DrawHint(QPainter* painter, int maxWidth) {
    const auto* item = static_cast<const THVItem*>(HintData());
    if (item == nullptr) {
        return {1, 1};
    }
    const TItemHintText hint = ItemHintText(*item, Clock().Now(), m_TimeOptions);
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const QFontMetrics metrics(font());

    int widest = boldMetrics.horizontalAdvance(hint.Name);
    for (const QString& line : {hint.URL, hint.Access}) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    for (const QString& command : hint.Commands) {
        widest = std::max(widest, kMarkWidth + metrics.horizontalAdvance(command));
    }
    for (const QString& line : hint.Memo.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    const int width = std::min(maxWidth, widest + 2 * kMargin + 2);
    const int inner = width - 2 * kMargin;
    const QStringList memo = hint.Memo.isEmpty() ? QStringList() : WrapText(hint.Memo, font(), inner);

    int height = kMargin + boldMetrics.height() + metrics.height();
    if (!hint.Access.isEmpty()) {
        height += metrics.height();
    }
    height += kGap + 1 + kGap;
    if (!memo.isEmpty()) {
        height += static_cast<int>(memo.size()) * metrics.height() + kGap;
    }
    height += static_cast<int>(hint.Commands.size()) * metrics.height() + kMargin;
    if (painter == nullptr) {
        return {width, height};
    }

    const QColor text = palette().color(QPalette::ToolTipText);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    int y = kMargin;
    const auto line = [&](const QString& s, const QFontMetrics& m, int indent = 0) {
        painter->drawText(QRect(kMargin + indent, y, inner - indent, m.height()), flags,
                          m.elidedText(s, Qt::ElideRight, inner - indent));
        y += m.height();
    };
    painter->setPen(text);
    painter->setFont(bold);
    line(hint.Name, boldMetrics);
    painter->setFont(font());
    line(hint.URL, metrics);
    if (!hint.Access.isEmpty()) {
        line(hint.Access, metrics);
    }
    y += kGap;
    painter->setPen(palette().color(QPalette::Button).darker(115));
    painter->drawLine(0, y, width, y);
    y += 1 + kGap;
    painter->setPen(text);
    for (const QString& memoLine : memo) {
        painter->drawText(QRect(kMargin, y, inner, metrics.height()), flags, memoLine);
        y += metrics.height();
    }
    if (!memo.isEmpty()) {
        y += kGap;
    }
    painter->setRenderHint(QPainter::Antialiasing);
    for (const QString& command : hint.Commands) {
        // A small triangle pointing right marks each command.
        const int mid = y + metrics.height() / 2;
        const QPointF mark[] = {{kMargin + 1.0, mid - 4.0}, {kMargin + 6.0, mid * 1.0}, {kMargin + 1.0, mid + 4.0}};
        painter->setPen(Qt::NoPen);
        painter->setBrush(QColor(0, 0, 255));
        painter->drawPolygon(mark, 3);
        painter->setPen(text);
        line(command, metrics, kMarkWidth);
    }
    return {width, height};
}

} // namespace hv

#include "mainwindow/StatusPanels.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>

namespace hv {

namespace {

// A grip is the gap between two panels and a little of either side, so that it can be caught.
constexpr int kGripSlack = 2;

} // namespace

TStatusPanel::TStatusPanel(bool path, QWidget* parent) : QLabel(parent), m_Path(path) {
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setMinimumWidth(kMinPanelWidth);
}

void TStatusPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(1, 0, -1, 0);
    const QFontMetrics metrics = fontMetrics();
    const QString shown = m_Path
                              ? ElidePathMiddle(text(), area.width(),
                                                [&metrics](const QString& s) { return metrics.horizontalAdvance(s); })
                              : metrics.elidedText(text(), Qt::ElideRight, area.width());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

TStatusPanels::TStatusPanels(QStatusBar* bar, QObject* parent) : QObject(parent), m_Bar(bar) {
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    for (std::size_t i = 0; i < m_Panels.size(); ++i) {
        auto* panel = new TStatusPanel(i == 0);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        bar->addWidget(panel, i + 1 == m_Panels.size() ? 1 : 0);
        panel->setMouseTracking(true);
        panel->installEventFilter(this);
        m_Panels[i] = panel;
    }
    bar->setMouseTracking(true);
    bar->installEventFilter(this);
}

void TStatusPanels::SetWidths(const std::array<int, kPanelCount>& widths) {
    for (std::size_t i = 0; i + 1 < m_Panels.size(); ++i) {
        m_Panels[i]->setFixedWidth(widths[i]);
    }
    m_Panels[3]->setMinimumWidth(widths[3]);
}

std::array<int, TStatusPanels::kPanelCount> TStatusPanels::Widths() const {
    std::array<int, kPanelCount> widths{};
    for (std::size_t i = 0; i < m_Panels.size(); ++i) {
        // Panels 0-2 have fixed widths, which the layout gives them on its next pass.
        widths[i] = m_Panels[i]->minimumWidth();
    }
    return widths;
}

int TStatusPanels::GripAt(int x) const {
    for (int i = 0; i + 1 < kPanelCount; ++i) {
        const QRect left = m_Panels[static_cast<std::size_t>(i)]->geometry();
        const QRect right = m_Panels[static_cast<std::size_t>(i + 1)]->geometry();
        if (x >= left.right() - kGripSlack && x <= right.left() + kGripSlack) {
            return i;
        }
    }
    return -1;
}

void TStatusPanels::ShowLongHint(const QString& text) {
    m_Panels[3]->setText(text);
}

bool TStatusPanels::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
        return QObject::eventFilter(watched, event);
    }
    auto* widget = static_cast<QWidget*>(watched);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos =
        widget == m_Bar ? mouse->position().toPoint() : widget->mapTo(m_Bar, mouse->position().toPoint());
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton) {
            m_Resizing = GripAt(pos.x());
            if (m_Resizing >= 0) {
                return true;
            }
        }
        break;
    case QEvent::MouseMove:
        if (m_Resizing >= 0) {
            TStatusPanel* panel = m_Panels[static_cast<std::size_t>(m_Resizing)];
            const int width = pos.x() - panel->geometry().left();
            if (PanelWidthAllowed(width)) {
                panel->setFixedWidth(width);
            }
            return true;
        }
        for (QWidget* each :
             {static_cast<QWidget*>(m_Bar), static_cast<QWidget*>(m_Panels[0]), static_cast<QWidget*>(m_Panels[1]),
              static_cast<QWidget*>(m_Panels[2]), static_cast<QWidget*>(m_Panels[3])}) {
            if (GripAt(pos.x()) >= 0) {
                each->setCursor(Qt::SplitHCursor);
            } else {
                each->unsetCursor();
            }
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_Resizing >= 0 && mouse->button() == Qt::LeftButton) {
            m_Resizing = -1;
            return true;
        }
        if (mouse->button() == Qt::RightButton && mouse->modifiers() == Qt::NoModifier && m_SortPopup != nullptr &&
            m_Panels[2]->geometry().contains(pos)) {
            m_SortPopup->popup(mouse->globalPosition().toPoint());
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hv

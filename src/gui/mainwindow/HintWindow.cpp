#include "mainwindow/HintWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

#include <algorithm>

namespace hv {

TTamHintWindow::TTamHintWindow(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    m_HideTimer.setSingleShot(true);
    connect(&m_HideTimer, &QTimer::timeout, this, &QWidget::hide);
}

bool TTamHintWindow::NeedsRedraw(const QString& text, const void* data) const {
    return !m_Rendered || text != m_Text || data != m_Data;
}

QSize TTamHintWindow::CalcHintRect(int maxWidth, const QString& text, const void* data) {
    const int border = HasBorder() ? 1 : 0;
    if (NeedsRedraw(text, data)) {
        m_Text = text;
        m_Data = data;
        const int inner = std::max(1, maxWidth - 2 * border);
        const QSize size = DrawHint(nullptr, inner).boundedTo(QSize(inner, 4096)).expandedTo(QSize(1, 1));
        const qreal ratio = devicePixelRatioF();
        QPixmap picture((QSizeF(size) * ratio).toSize());
        picture.setDevicePixelRatio(ratio);
        picture.fill(palette().color(QPalette::ToolTipBase));
        {
            QPainter painter(&picture);
            painter.setFont(font());
            DrawHint(&painter, size.width());
        }
        m_Picture = picture;
        m_Rendered = true;
        ++m_RenderCount;
    }
    return (m_Picture.deviceIndependentSize().toSize() + QSize(2 * border, 2 * border));
}

void TTamHintWindow::ActivateHint(const QPoint& pos, const QRect& stayRect, int hidePause) {
    QSize size = m_Picture.deviceIndependentSize().toSize();
    if (HasBorder()) {
        size += QSize(2, 2);
    }
    QRect rect(pos, size);
    if (const QScreen* screen = QGuiApplication::screenAt(pos)) {
        const QRect area = screen->availableGeometry();
        rect.moveRight(std::min(rect.right(), area.right()));
        rect.moveBottom(std::min(rect.bottom(), area.bottom()));
        rect.moveLeft(std::max(rect.left(), area.left()));
        rect.moveTop(std::max(rect.top(), area.top()));
    }
    m_StayRect = stayRect;
    setGeometry(rect);
    show();
    raise();
    update();
    if (hidePause > 0) {
        m_HideTimer.start(hidePause);
    }
}

void TTamHintWindow::MouseAt(const QPoint& globalPos) {
    if (isVisible() && !m_StayRect.contains(globalPos)) {
        hide();
    }
}

void TTamHintWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int border = HasBorder() ? 1 : 0;
    painter.drawPixmap(border, border, m_Picture);
    if (HasBorder()) {
        painter.setPen(palette().color(QPalette::ToolTipText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace hv

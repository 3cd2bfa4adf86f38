#pragma once

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace hv {

// A rich hint: a tool-tip window that shows a picture rendered for a hint text and the data
// behind it. The picture is rendered again only when NeedsRedraw says so; painting copies it.
class TTamHintWindow : public QWidget {
    Q_OBJECT

public:
    explicit TTamHintWindow(QWidget* parent = nullptr);

    // The window's size for text and data, at most maxWidth wide (the border included).
    QSize CalcHintRect(int maxWidth, const QString& text, const void* data);
    // Shows the hint with its top-left corner at pos (kept on the screen) for hidePause
    // milliseconds; it goes earlier when the mouse leaves stayRect (global coordinates).
    void ActivateHint(const QPoint& pos, const QRect& stayRect, int hidePause);
    // Hides the hint when the mouse at globalPos has left the rectangle it belongs to.
    void MouseAt(const QPoint& globalPos);
    // How often the picture was rendered (a folder hint shown twice renders once).
    int RenderCount() const { return m_RenderCount; }
    const QPixmap& Picture() const { return m_Picture; }

protected:
    // Renders the hint with painter (nullptr only measures) within maxWidth; returns the
    // size the hint needs.
    virtual QSize DrawHint(QPainter* painter, int maxWidth) = 0;
    virtual bool HasBorder() const { return true; }
    virtual bool NeedsRedraw(const QString& text, const void* data) const;
    // The text and data the hint is being drawn for.
    const QString& HintText() const { return m_Text; }
    const void* HintData() const { return m_Data; }

    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_Picture;
    QString m_Text;
    const void* m_Data = nullptr;
    bool m_Rendered = false;
    int m_RenderCount = 0;
    QRect m_StayRect;
    QTimer m_HideTimer;
};

} // namespace hv

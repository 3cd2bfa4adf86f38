#pragma once

#include "mainwindow/HintText.h"
#include "mainwindow/HintWindow.h"

namespace hv {

class THVItem;

// The hint over a row of the item list: the hint text is the row's caption, the data the item.
// The item may have changed since the last showing, so it is rendered afresh every time.
class THVListHintWindow : public TTamHintWindow {
    Q_OBJECT

public:
    using TTamHintWindow::TTamHintWindow;
    // The access-time text's settings.
    void SetTimeOptions(const TAccessTimeOptions& options) { m_TimeOptions = options; }

protected:
    QSize DrawHint(QPainter* painter, int maxWidth) override;
    bool NeedsRedraw(const QString&, const void*) const override { return true; }

private:
    TAccessTimeOptions m_TimeOptions;
};

} // namespace hv

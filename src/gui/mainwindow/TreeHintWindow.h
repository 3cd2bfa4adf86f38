#pragma once

#include "mainwindow/HintText.h"
#include "mainwindow/HintWindow.h"

namespace hv {

class THVList;

// The hint over a folder of the tree: the hint text is the folder's caption, the data its
// item list.
class THVTreeHintWindow : public TTamHintWindow {
    Q_OBJECT

public:
    using TTamHintWindow::TTamHintWindow;

protected:
    QSize DrawHint(QPainter* painter, int maxWidth) override;
    // The folder's items may have changed under the same list: the picture is also rendered
    // again when the names it shows differ.
    bool NeedsRedraw(const QString& text, const void* data) const override;

private:
    TFolderHintText m_Shown;
};

} // namespace hv

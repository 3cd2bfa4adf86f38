#pragma once

#include <QProxyStyle>
#include <QStyleOption>

namespace hv {

// The tree's branch drawing without the expand buttons, for ShowTreeBtn off.
class TTreeButtonStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    bool ShowButtons = true;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_IndicatorBranch && !ShowButtons) {
            QStyleOption plain(*option);
            plain.state &= ~(State_Children | State_Open);
            QProxyStyle::drawPrimitive(element, &plain, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

} // namespace hv

#pragma once

#include <QAction>
#include <QString>

namespace hv {

// An action named name with caption and a hint "short|long": the short part is its tool tip,
// the long part the status bar's text.
inline QAction* NewHintedAction(QObject* parent, const char* name, const QString& caption, const QString& hint) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action->setToolTip(hint.left(bar));
    action->setStatusTip(hint.mid(bar + 1));
    return action;
}

} // namespace hv

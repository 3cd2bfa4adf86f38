#pragma once

#include "FakePrompts.h"

#include <QStringList>

namespace hv::test {

// The shared fake prompts, each message and question also kept as "title|text"; a question
// with nothing queued gets the cautious answer (No, Cancel, no password).
class TScriptedPrompts final : public TFakePrompts {
public:
    TScriptedPrompts() {
        OnRecord = [this](const TRecord& record) {
            Seen << QString::fromStdString(record.Title) + QLatin1Char('|') + QString::fromStdString(record.Text);
        };
    }
    QStringList Seen;
};

} // namespace hv::test

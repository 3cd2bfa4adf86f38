#pragma once

#include "FakePrompts.h"
#include "app/FileDialogs.h"
#include "properties/PropDlgServices.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace hv::test {

// The shared fake prompts, each message kept as "title|text" and each question as
// "title|?text"; a question with nothing queued gets the cautious answer.
class TRecordingPrompts final : public TFakePrompts {
public:
    TRecordingPrompts() {
        OnRecord = [this](const TRecord& record) {
            Messages.push_back(record.Title + (record.IsQuestion() ? "|?" : "|") + record.Text);
        };
    }
    std::vector<std::string> Messages;
};

// Settings in memory and the dialogs' services; file dialogs answer from TFileDialogs' queue,
// which starts empty.
struct TPropTestEnv {
    TPropTestEnv() { TFileDialogs::ClearAnswers(); }
    TMemoryRegistryStore Registry;
    TSettings Settings{Registry};
    TRecordingPrompts Prompts;
    std::vector<std::string> Opened;
    TPropDlgServices Services{Settings, Prompts, [this](const std::string& c) { Opened.push_back(c); }};
};

// The named child of widget; the test stops when there is none.
template <class T> T* Find(QWidget& widget, const char* name) {
    T* child = widget.findChild<T*>(QString::fromUtf8(name));
    if (child == nullptr) {
        qFatal("no widget %s", name);
    }
    return child;
}

// Runs action on the next modal dialog once it is shown.
inline void OnNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

} // namespace hv::test

#pragma once

#include "app/FileDialogs.h"
#include "platform/UserPrompts.h"
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

// Records every message and answers questions from a queue (No when empty).
class TRecordingPrompts final : public TUserPrompts {
public:
    std::vector<std::string> Messages;
    std::deque<bool> Answers;
    void ShowMessage(TMessageKind, const std::string& text, const std::string& title) override {
        Messages.push_back(title + "|" + text);
    }
    bool AskYesNo(const std::string& text, const std::string& title) override {
        Messages.push_back(title + "|?" + text);
        if (Answers.empty()) {
            return false;
        }
        const bool a = Answers.front();
        Answers.pop_front();
        return a;
    }
    TSaveAnswer AskSave(const std::string&, const std::string&) override { return TSaveAnswer::Cancel; }
    std::optional<std::string> AskPassword(const std::string&, const std::string&) override { return std::nullopt; }
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

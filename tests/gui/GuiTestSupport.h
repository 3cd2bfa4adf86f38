#pragma once

#include "platform/UserPrompts.h"

#include <QStringList>

#include <deque>
#include <optional>
#include <string>

namespace hv::test {

// Records every message and question as "title|text" and answers from queues; a question with
// nothing queued gets the cautious answer (No, Cancel, no password) and is recorded as such.
class TScriptedPrompts final : public TUserPrompts {
public:
    QStringList Seen;
    std::deque<bool> YesNoAnswers;
    std::deque<TSaveAnswer> SaveAnswers;
    std::deque<std::optional<std::string>> PasswordAnswers;

    void ShowMessage(TMessageKind, const std::string& text, const std::string& title) override { Record(title, text); }
    bool AskYesNo(const std::string& text, const std::string& title) override {
        Record(title, text);
        return Take(YesNoAnswers, false);
    }
    TSaveAnswer AskSave(const std::string& text, const std::string& title) override {
        Record(title, text);
        return Take(SaveAnswers, TSaveAnswer::Cancel);
    }
    std::optional<std::string> AskPassword(const std::string& prompt, const std::string& title) override {
        Record(title, prompt);
        return Take(PasswordAnswers, std::optional<std::string>());
    }

private:
    void Record(const std::string& title, const std::string& text) {
        Seen << QString::fromStdString(title) + QLatin1Char('|') + QString::fromStdString(text);
    }
    template <class T> static T Take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

} // namespace hv::test

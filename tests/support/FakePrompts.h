#pragma once

#include "platform/UserPrompts.h"

#ifdef HV_TEST_GTEST
#include <gtest/gtest.h>
#endif

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace hv::test {

// A scripted TUserPrompts for tests and benchmarks: records every message and question, and
// answers from queues. A question with no answer queued gets the cautious answer (No, Cancel,
// no password) and is reported to OnUnexpected; under GoogleTest that fails the test, so an
// unexpected question never goes unnoticed.
class TFakePrompts : public TUserPrompts {
public:
    enum class TKind { Information, Warning, Error, YesNo, Save, Password, YesNoCancel };

    struct TRecord {
        TKind Kind;
        std::string Text;
        std::string Title;
        bool operator==(const TRecord&) const = default;
        bool IsQuestion() const {
            return Kind == TKind::YesNo || Kind == TKind::Save || Kind == TKind::Password || Kind == TKind::YesNoCancel;
        }
    };

    std::vector<TRecord> Records;
    std::deque<bool> YesNoAnswers;
    std::deque<TSaveAnswer> SaveAnswers;
    std::deque<std::optional<std::string>> PasswordAnswers;
    std::deque<TYesNoCancel> YesNoCancelAnswers;

    // Told of every record as it is made (a test may keep them in its own form).
    std::function<void(const TRecord&)> OnRecord;
    // Told of the text of every question that found no answer queued.
    std::function<void(const std::string&)> OnUnexpected = DefaultUnexpected();

    void ShowMessage(TMessageKind kind, const std::string& text, const std::string& title) override {
        static constexpr TKind kKinds[] = {TKind::Information, TKind::Warning, TKind::Error};
        Record({kKinds[static_cast<int>(kind)], text, title});
    }

    bool AskYesNo(const std::string& text, const std::string& title) override {
        Record({TKind::YesNo, text, title});
        return Take(YesNoAnswers, false, text);
    }

    TSaveAnswer AskSave(const std::string& text, const std::string& title) override {
        Record({TKind::Save, text, title});
        return Take(SaveAnswers, TSaveAnswer::Cancel, text);
    }

    TYesNoCancel AskYesNoCancel(const std::string& text, const std::string& title) override {
        Record({TKind::YesNoCancel, text, title});
        return Take(YesNoCancelAnswers, TYesNoCancel::Cancel, text);
    }

    std::optional<std::string> AskPassword(const std::string& prompt, const std::string& title) override {
        Record({TKind::Password, prompt, title});
        return Take(PasswordAnswers, std::optional<std::string>(), prompt);
    }

    // The only record; with none or several, a record that says how many there were, so a
    // comparison with the expected record fails and shows it.
    TRecord Only() const {
        if (Records.size() == 1) {
            return Records.front();
        }
        return {TKind::Information, "<" + std::to_string(Records.size()) + " records>", ""};
    }

private:
    static std::function<void(const std::string&)> DefaultUnexpected() {
#ifdef HV_TEST_GTEST
        return [](const std::string& text) { ADD_FAILURE() << "unexpected question: " << text; };
#else
        return {};
#endif
    }

    void Record(TRecord record) {
        Records.push_back(std::move(record));
        if (OnRecord) {
            OnRecord(Records.back());
        }
    }

    template <class T> T Take(std::deque<T>& queue, T fallback, const std::string& text) {
        if (queue.empty()) {
            if (OnUnexpected) {
                OnUnexpected(text);
            }
            return fallback;
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

} // namespace hv::test

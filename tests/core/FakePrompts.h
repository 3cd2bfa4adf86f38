#pragma once

#include "platform/UserPrompts.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace hv::test {

// A scripted TUserPrompts: records every message and question, and answers from queues. A
// question with no answer queued fails the test and gets the cautious answer (No, Cancel, no
// password), so an unexpected question never goes unnoticed.
class TFakePrompts final : public TUserPrompts {
public:
    enum class TKind { Information, Warning, Error, YesNo, Save, Password };

    struct TRecord {
        TKind Kind;
        std::string Text;
        std::string Title;
        bool operator==(const TRecord&) const = default;
    };

    std::vector<TRecord> Records;
    std::deque<bool> YesNoAnswers;
    std::deque<TSaveAnswer> SaveAnswers;
    std::deque<std::optional<std::string>> PasswordAnswers;

    void ShowMessage(TMessageKind kind, const std::string& text, const std::string& title) override {
        static constexpr TKind kKinds[] = {TKind::Information, TKind::Warning, TKind::Error};
        Records.push_back({kKinds[static_cast<int>(kind)], text, title});
    }

    bool AskYesNo(const std::string& text, const std::string& title) override {
        Records.push_back({TKind::YesNo, text, title});
        return Take(YesNoAnswers, false, text);
    }

    TSaveAnswer AskSave(const std::string& text, const std::string& title) override {
        Records.push_back({TKind::Save, text, title});
        return Take(SaveAnswers, TSaveAnswer::Cancel, text);
    }

    std::optional<std::string> AskPassword(const std::string& prompt, const std::string& title) override {
        Records.push_back({TKind::Password, prompt, title});
        return Take(PasswordAnswers, std::optional<std::string>(), prompt);
    }

    // The only record, which must exist.
    const TRecord& Only() const {
        EXPECT_EQ(Records.size(), 1u);
        static const TRecord kNone{TKind::Information, "<none>", ""};
        return Records.empty() ? kNone : Records.front();
    }

private:
    template <class T> static T Take(std::deque<T>& queue, T fallback, const std::string& text) {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return fallback;
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

} // namespace hv::test

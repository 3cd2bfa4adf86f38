#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hv {

// The title of every message box unless a caller names another.
inline constexpr std::string_view kPromptTitle = "Hollyvine";

// The icon of a message that only needs acknowledging.
enum class TMessageKind { Information, Warning, Error };

// The answers of the three-button save question.
enum class TSaveAnswer { Save, DontSave, Cancel };

// The answers of a question with Yes, No and Cancel.
enum class TYesNoCancel { Yes, No, Cancel };

// Every message, question and password prompt the core shows goes through this interface.
// The GUI answers with message boxes, hvtool with the terminal and its flags, tests with a
// scripted fake; so the texts and the answers they lead to are tested in the core.
class TUserPrompts {
public:
    virtual ~TUserPrompts();

    // A message with an OK button.
    virtual void ShowMessage(TMessageKind kind, const std::string& text, const std::string& title) = 0;
    // A question with Yes and No (question icon); true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& title) = 0;
    // The save question: "保存する(&S)", "保存しない(&N)", "キャンセル" (confirmation icon).
    virtual TSaveAnswer AskSave(const std::string& text, const std::string& title) = 0;
    // A question with Yes, No and Cancel (question icon). Without an override it is asked with Yes
    // and No, and No cancels.
    virtual TYesNoCancel AskYesNoCancel(const std::string& text, const std::string& title);
    // Masked input of a password; nullopt when cancelled.
    virtual std::optional<std::string> AskPassword(const std::string& prompt, const std::string& title) = 0;

    // Shorthands with the program's title.
    void Information(const std::string& text, const std::string& title = std::string(kPromptTitle)) {
        ShowMessage(TMessageKind::Information, text, title);
    }
    void Warning(const std::string& text, const std::string& title = std::string(kPromptTitle)) {
        ShowMessage(TMessageKind::Warning, text, title);
    }
    void Error(const std::string& text, const std::string& title = std::string(kPromptTitle)) {
        ShowMessage(TMessageKind::Error, text, title);
    }
    bool YesNo(const std::string& text, const std::string& title = std::string(kPromptTitle)) {
        return AskYesNo(text, title);
    }
};

} // namespace hv

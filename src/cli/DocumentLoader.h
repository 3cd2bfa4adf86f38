#pragma once

#include "Command.h"
#include "document/DocumentFile.h"
#include "document/HVDocument.h"
#include "model/HVFolder.h"
#include "platform/UserPrompts.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hv::cli {

// The caption of the root folder, as the program shows it.
inline constexpr std::string_view kRootCaption = kDocumentRootName;

// A document read from its file.
struct TLoadedDocument {
    TLoadedDocument() = default;
    TLoadedDocument(TLoadedDocument&&) = default;
    TLoadedDocument& operator=(TLoadedDocument&&) = default;
    ~TLoadedDocument() { DisposeDocumentTree(std::move(Root)); }

    int Version = 1;
    std::string Password;
    TDocEncoding Encoding = TDocEncoding::Cp932;
    std::unique_ptr<THVFolder> Root;
};

// The prompts of the document lifecycle (THVDocument) in hvtool. Warnings and errors go to
// io.Err; information messages are kept in Notes() for the command to print once it has
// succeeded. A password question is answered with the password set by SetPassword (the
// command's option), else with one typed on the terminal after "パスワード: " when standard
// input is one, else it is cancelled. The commands that use these prompts ask no other
// questions; should one come, it takes its cautious answer (No, Cancel).
class TDocumentPrompts final : public TUserPrompts {
public:
    explicit TDocumentPrompts(TCommandIO& io) : m_IO(io) {}

    // The answer to the next password questions.
    void SetPassword(std::optional<std::string> password) { m_Password = std::move(password); }
    const std::vector<std::string>& Notes() const { return m_Notes; }
    // Prints the notes on io.Out.
    void PrintNotes() const;

    void ShowMessage(TMessageKind kind, const std::string& text, const std::string& title) override;
    bool AskYesNo(const std::string& text, const std::string& title) override;
    TSaveAnswer AskSave(const std::string& text, const std::string& title) override;
    std::optional<std::string> AskPassword(const std::string& prompt, const std::string& title) override;

private:
    TCommandIO& m_IO;
    std::optional<std::string> m_Password;
    std::vector<std::string> m_Notes;
};

// One line typed on the terminal after prompt (on io.Err), without echo when the terminal can
// hide it; nullopt when standard input is no terminal or at its end.
std::optional<std::string> ReadTerminalSecret(TCommandIO& io, std::string_view prompt);

// Prints doc.LastErrorDetail() on a line of its own when there is one: the system's reason
// below the program's message.
void ReportErrorDetail(const THVDocument& doc, TCommandIO& io);

// Opens path in doc as the program opens a file: under its full path, with password as the
// answer to the password question, the folders in name order when the user's SortFolder setting
// is on (the default). A command whose output does not depend on the order of the folders passes
// inNameOrder false and saves the sort (and the collation it needs). Failures are reported on
// io.Err; false then.
bool OpenDocument(THVDocument& doc, TDocumentPrompts& prompts, const std::string& path,
                  const std::optional<std::string>& password, TCommandIO& io, bool inNameOrder = true);

// Reads the document at path into a new root the way the program opens a file (as OpenDocument).
// A protected document needs its password: the given one, else one typed on the terminal when
// standard input is one. Every failure is reported on io.Err; nullopt then.
std::optional<TLoadedDocument> LoadDocument(const std::string& path, const std::optional<std::string>& password,
                                            TCommandIO& io);

} // namespace hv::cli

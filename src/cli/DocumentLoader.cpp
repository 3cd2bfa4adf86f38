#include "DocumentLoader.h"

#include "UserSettings.h"
#include "document/RecentFiles.h"
#include "model/HVFolder.h"

#include <istream>
#include <ostream>

namespace hv::cli {

namespace {

constexpr std::string_view kPasswordPrompt = "パスワード: ";

} // namespace

std::optional<std::string> ReadTerminalSecret(TCommandIO& io, std::string_view prompt) {
    if (!io.InIsTerminal) {
        return std::nullopt;
    }
    io.Err << prompt << std::flush;
    std::string line;
    const bool read = io.ReadSecretLine ? io.ReadSecretLine(line) : static_cast<bool>(std::getline(io.In, line));
    if (!read) {
        return std::nullopt;
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

void TDocumentPrompts::PrintNotes() const {
    for (const std::string& note : m_Notes) {
        m_IO.Out << note << '\n';
    }
}

void TDocumentPrompts::ShowMessage(TMessageKind kind, const std::string& text, const std::string& title) {
    if (kind == TMessageKind::Information) {
        m_Notes.push_back(text);
        return;
    }
    if (title != kPromptTitle) {
        m_IO.Err << '[' << title << "]\n";
    }
    m_IO.Err << text << '\n';
}

bool TDocumentPrompts::AskYesNo(const std::string& text, const std::string& title) {
    ShowMessage(TMessageKind::Warning, text, title);
    return false;
}

TSaveAnswer TDocumentPrompts::AskSave(const std::string& text, const std::string& title) {
    ShowMessage(TMessageKind::Warning, text, title);
    return TSaveAnswer::Cancel;
}

std::optional<std::string> TDocumentPrompts::AskPassword(const std::string&, const std::string&) {
    return m_Password ? m_Password : ReadTerminalSecret(m_IO, kPasswordPrompt);
}

void ReportErrorDetail(const THVDocument& doc, TCommandIO& io) {
    if (!doc.LastErrorDetail().empty()) {
        io.Err << doc.LastErrorDetail() << '\n';
    }
}

bool OpenDocument(THVDocument& doc, TDocumentPrompts& prompts, const std::string& path,
                  const std::optional<std::string>& password, TCommandIO& io, bool inNameOrder) {
    prompts.SetPassword(password);
    // As in the window, the document is opened under its full path, which its messages name.
    if (!doc.Open(FullFileName(path))) {
        ReportErrorDetail(doc, io);
        return false;
    }
    // The folders as the window shows them: in name order with SortFolder (what the reader does
    // with the setting, all parents being new).
    if (inNameOrder && UserSortsFolders(io)) {
        doc.Root().SortChildrenRecursive();
    }
    return true;
}

std::optional<TLoadedDocument> LoadDocument(const std::string& path, const std::optional<std::string>& password,
                                            TCommandIO& io) {
    TDocumentPrompts prompts(io);
    THVDocument doc(prompts);
    if (!OpenDocument(doc, prompts, path, password, io)) {
        return std::nullopt;
    }
    TLoadedDocument loaded;
    loaded.Version = doc.FileVersion();
    loaded.Password = doc.Password();
    loaded.Encoding = doc.FileEncoding();
    loaded.Root = doc.DetachRoot();
    return loaded;
}

} // namespace hv::cli

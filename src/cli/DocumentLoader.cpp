#include "DocumentLoader.h"

#include "document/RecordReader.h"
#include "platform/SafeFile.h"

#include <istream>
#include <ostream>

namespace hv::cli {

namespace {

constexpr std::string_view kPasswordPrompt = "パスワード: ";
constexpr std::string_view kWrongPassword = "正しいパスワードが入力されませんでした。";

std::optional<std::string> AskPassword(TCommandIO& io) {
    if (!io.InIsTerminal) {
        return std::nullopt;
    }
    io.Err << kPasswordPrompt << std::flush;
    std::string line;
    bool read = false;
    if (io.ReadSecretLine) {
        read = io.ReadSecretLine(line);
    } else {
        read = static_cast<bool>(std::getline(io.In, line));
    }
    if (!read) {
        return std::nullopt;
    }
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

} // namespace

std::optional<TLoadedDocument> LoadDocument(const std::string& path, const std::optional<std::string>& password,
                                            TCommandIO& io) {
    TDocumentText text;
    try {
        text = ParseDocumentBytes(ReadFileBytes(path));
    } catch (const EInvalidDocument& e) {
        io.Err << "ファイル \"" << path << "\" は" << e.what() << "。\n";
        return std::nullopt;
    } catch (const std::exception& e) {
        io.Err << e.what() << '\n';
        return std::nullopt;
    }

    if (!text.Password.empty()) {
        std::optional<std::string> entered = password ? password : AskPassword(io);
        if (!entered || *entered != text.Password) {
            io.Err << kWrongPassword << '\n';
            return std::nullopt;
        }
    }

    TLoadedDocument doc;
    doc.Version = text.Version;
    doc.Password = std::move(text.Password);
    doc.Encoding = text.Encoding;
    doc.Root = std::make_unique<THVFolder>(std::string(kRootCaption));
    try {
        ReadRecords(text.Body, *doc.Root);
    } catch (const std::exception& e) {
        io.Err << "ファイル \"" << path << "\" を開けませんでした。\n" << e.what() << '\n';
        return std::nullopt;
    }
    return doc;
}

} // namespace hv::cli

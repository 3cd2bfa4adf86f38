#include "ImportTarget.h"

#include "platform/SafeFile.h"
#include "text/TextUtil.h"

#include <ostream>

namespace hv::cli {

std::optional<TLoadedDocument> OpenOrCreateDocument(const std::string& path, const std::optional<std::string>& password,
                                                    TCommandIO& io, bool& created) {
    created = !FileExists(path);
    if (!created) {
        return LoadDocument(path, password, io);
    }
    TLoadedDocument doc;
    if (password && !password->empty()) {
        if (Utf8Length(*password) > kMaxPasswordLength || password->find_first_of("\r\n") != std::string::npos) {
            io.Err << "パスワードは改行を含まない " << kMaxPasswordLength << " 文字以内にしてください。\n";
            return std::nullopt;
        }
        doc.Version = 2;
        doc.Password = *password;
    }
    doc.Root = std::make_unique<THVFolder>(std::string(kRootCaption));
    return doc;
}

bool SaveLoadedDocument(const std::string& path, const TLoadedDocument& doc, TCommandIO& io) {
    try {
        SaveDocumentFile(path, *doc.Root, doc.Password);
    } catch (const std::exception& e) {
        io.Err << "ファイル \"" << path << "\" を保存できませんでした。\n" << e.what() << '\n';
        return false;
    }
    return true;
}

} // namespace hv::cli

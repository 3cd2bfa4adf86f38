#include "ImportTarget.h"

#include "Arguments.h"
#include "FolderPath.h"
#include "platform/SafeFile.h"
#include "platform/SystemError.h"
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
        io.Err << "ファイル \"" << path << "\" を保存できませんでした。\n" << ErrorReason(e) << '\n';
        return false;
    }
    return true;
}

std::optional<TImportTarget> OpenImportTarget(const TParsedArgs& parsed, TCommandIO& io) {
    TImportTarget target;
    std::optional<TLoadedDocument> doc =
        OpenOrCreateDocument(parsed.Positional[0], parsed.Value("--password"), io, target.Created);
    if (!doc) {
        return std::nullopt;
    }
    target.Doc = std::move(*doc);
    target.Folder = SelectFolderOption(*target.Doc.Root, parsed, io);
    if (target.Folder == nullptr) {
        return std::nullopt;
    }
    return target;
}

} // namespace hv::cli

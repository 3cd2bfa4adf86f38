#include "Arguments.h"
#include "Command.h"
#include "JsonDocumentReader.h"
#include "document/HVDocument.h"
#include "platform/Memory.h"
#include "platform/SafeFile.h"
#include "platform/SystemError.h"
#include "text/TextUtil.h"

#include <filesystem>
#include <istream>
#include <iterator>
#include <ostream>

namespace hv::cli {

namespace {

constexpr std::string_view kStdinName = "-";

// Empty when the password can be stored, else the reason it cannot.
std::string CheckPassword(const std::string& password) {
    if (Utf8Length(password) > kMaxPasswordLength) {
        return "パスワードは " + std::to_string(kMaxPasswordLength) + " 文字以内にしてください。";
    }
    // The password is one line of the file's header.
    if (password.find_first_of("\r\n") != std::string::npos) {
        return "パスワードに改行は使えません。";
    }
    return {};
}

} // namespace

int RunWrite(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("write"), kOptions, 2, 2, io, parsed)) {
        return *exit;
    }
    const std::string& input = parsed.Positional[0];
    const std::string& output = parsed.Positional[1];

    std::string text;
    if (input != kStdinName) {
        // The JSON text and the tree read from it stand in memory at once: about 2.25 times the text.
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(input, error);
        if (!error) {
            ReserveHeap(static_cast<std::size_t>(size) * 9 / 4);
        }
    }
    if (input == kStdinName) {
        text.assign(std::istreambuf_iterator<char>(io.In), std::istreambuf_iterator<char>());
    } else {
        try {
            text = ReadFileBytes(input);
        } catch (const std::exception& e) {
            io.Err << e.what() << '\n';
            return kExitFailure;
        }
    }

    TJsonDocument doc;
    try {
        doc = ReadDocumentJson(text);
    } catch (const std::exception& e) {
        io.Err << "JSON ファイル \"" << input << "\" を読めませんでした。\n" << e.what() << '\n';
        return kExitFailure;
    }

    // The option wins over the JSON; the version then follows from the password alone.
    const std::string password = parsed.Value("--password").value_or(doc.Password.value_or(std::string()));
    if (std::string problem = CheckPassword(password); !problem.empty()) {
        io.Err << problem << '\n';
        return kExitFailure;
    }

    try {
        SaveDocumentFile(output, *doc.Root, password, doc.Encoding == TDocEncoding::Utf8);
    } catch (const std::exception& e) {
        io.Err << "ファイル \"" << output << "\" を保存できませんでした。\n" << ErrorReason(e) << '\n';
        return kExitFailure;
    }
    DisposeDocumentTree(std::move(doc.Root));
    return kExitOk;
}

} // namespace hv::cli

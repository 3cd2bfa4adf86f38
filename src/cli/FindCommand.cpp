#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"
#include "FolderPath.h"
#include "platform/UserPrompts.h"
#include "search/FindSearch.h"
#include "text/Encoding.h"

#include <array>
#include <ostream>
#include <utility>

namespace hv::cli {

namespace {

constexpr std::array<std::pair<std::string_view, TFindSubject>, 3> kFields = {{
    {"name", TFindSubject::Name},
    {"url", TFindSubject::URL},
    {"memo", TFindSubject::Memo},
}};

constexpr std::array<std::pair<std::string_view, TFindType>, 5> kTypes = {{
    {"contains", TFindType::Contains},
    {"not-contains", TFindType::NotContains},
    {"equals", TFindType::Equals},
    {"begins", TFindType::BeginsWith},
    {"ends", TFindType::EndsWith},
}};

template <class T, std::size_t N>
std::optional<T> Choice(const std::array<std::pair<std::string_view, T>, N>& choices, std::string_view name) {
    for (const auto& [text, value] : choices) {
        if (text == name) {
            return value;
        }
    }
    return std::nullopt;
}

// A search of the whole document never asks anything; messages go to stderr.
class TStderrPrompts final : public TUserPrompts {
public:
    explicit TStderrPrompts(std::ostream& err) : m_Err(err) {}
    void ShowMessage(TMessageKind, const std::string& text, const std::string&) override { m_Err << text << '\n'; }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    TSaveAnswer AskSave(const std::string&, const std::string&) override { return TSaveAnswer::Cancel; }
    std::optional<std::string> AskPassword(const std::string&, const std::string&) override { return std::nullopt; }

private:
    std::ostream& m_Err;
};

} // namespace

int RunFind(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--field", true},  {"--type", true},           {"--case", false},
                                           {"--folder", true}, {"--no-subfolders", false}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("find"), kOptions, 2, 2, io, parsed)) {
        return *exit;
    }
    TFindRequest request;
    request.Text = DecodeUtf8(parsed.Positional[1]);
    request.DiscriminateCase = parsed.Has("--case");
    if (auto field = parsed.Value("--field")) {
        auto subject = Choice(kFields, *field);
        if (!subject) {
            return UsageError(io, "find", "--field の値が正しくありません: " + *field);
        }
        request.Subject = *subject;
    }
    if (auto type = parsed.Value("--type")) {
        auto findType = Choice(kTypes, *type);
        if (!findType) {
            return UsageError(io, "find", "--type の値が正しくありません: " + *type);
        }
        request.Type = *findType;
    }
    if (parsed.Has("--no-subfolders") && !parsed.Has("--folder")) {
        return UsageError(io, "find", "--no-subfolders は --folder と一緒に指定してください。");
    }
    if (TFindCondition(request.Subject, request.Type, request.Text, request.DiscriminateCase).IsEmpty()) {
        return UsageError(io, "find", "検索文字列が指定されていません。");
    }

    std::optional<TLoadedDocument> doc = LoadDocument(parsed.Positional[0], parsed.Value("--password"), io);
    if (!doc) {
        return kExitFailure;
    }
    request.Root = doc->Root.get();
    if (auto folder = parsed.Value("--folder")) {
        request.Current = SelectFolder(*doc->Root, DecodeUtf8(*folder), io);
        if (request.Current == nullptr) {
            return kExitFailure;
        }
        request.Range = TFindRange::CurrentFolder;
        request.IncludeSubFolder = !parsed.Has("--no-subfolders");
    } else {
        request.Range = TFindRange::AllFolders;
    }

    TStderrPrompts prompts(io.Err);
    TFindSearch search(prompts);
    if (search.Search(request) != TFindOutcome::Finished) {
        return kExitFailure;
    }
    for (const TFindRow& row : search.Results().Rows()) {
        io.Out << row.FolderPath() << '\t' << row.Name << '\t' << row.URL << '\n';
    }
    return kExitOk;
}

} // namespace hv::cli

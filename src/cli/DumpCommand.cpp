#include "Arguments.h"
#include "Command.h"
#include "DocumentJson.h"
#include "DocumentLoader.h"
#include "JsonWriter.h"
#include "document/RecentFiles.h"
#include "model/DateTime.h"

#include <ostream>
#include <utility>
#include <vector>

namespace hv::cli {

namespace {

namespace keys = json_keys;

constexpr int kPrettyIndent = 2;

void WriteItem(TJsonWriter& json, const THVItem& item) {
    json.BeginObject();
    json.Key(keys::kItemName);
    json.String(item.GetName());
    json.Key(keys::kUrl);
    json.String(item.GetURL());
    json.Key(keys::kMemo);
    json.String(item.GetMemo());
    json.Key(keys::kLastVisited);
    if (item.GetLastVisited() != 0) {
        json.String(FormatDocDateTime(item.GetLastVisited()));
    } else {
        json.Null();
    }
    json.Key(keys::kSchedule);
    json.String(item.GetSchedule());
    json.Key(keys::kIconFile);
    json.String(item.GetIconFile());
    json.Key(keys::kIconIndex);
    json.Int(item.GetIconIndex());
    json.Key(keys::kCommands);
    json.BeginArray();
    for (const TCmdItem& command : item.GetCommands()) {
        json.BeginObject();
        json.Key(keys::kCommandTitle);
        json.String(command.Title);
        json.Key(keys::kCommandLine);
        json.String(command.CommandLine);
        json.Key(keys::kUpdateLastVisited);
        json.Bool(command.UpdateLastVisited);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

// Everything of a folder up to its child folders: the "folders" array is left open.
void OpenFolder(TJsonWriter& json, const THVFolder& folder) {
    json.BeginObject();
    json.Key(keys::kFolderName);
    json.String(folder.Name());
    json.Key(keys::kExpanded);
    json.Bool(folder.Expanded());
    json.Key(keys::kItems);
    json.BeginArray();
    for (const auto& item : folder.List()) {
        WriteItem(json, *item);
    }
    json.EndArray();
    json.Key(keys::kFolders);
    json.BeginArray();
}

void CloseFolder(TJsonWriter& json) {
    json.EndArray();
    json.EndObject();
}

void WriteDocument(TJsonWriter& json, const TLoadedDocument& doc) {
    json.BeginObject();
    json.Key(keys::kVersion);
    json.Int(doc.Version);
    json.Key(keys::kPassword);
    json.String(doc.Password);
    json.Key(keys::kEncoding);
    json.String(doc.Encoding == TDocEncoding::Utf8 ? keys::kEncodingUtf8 : keys::kEncodingCp932);
    json.Key(keys::kRoot);

    // Depth-first with an explicit stack: a folder and the index of its next child.
    std::vector<std::pair<const THVFolder*, int>> stack;
    OpenFolder(json, *doc.Root);
    stack.emplace_back(doc.Root.get(), 0);
    while (!stack.empty()) {
        auto& [folder, next] = stack.back();
        if (next < folder->ChildCount()) {
            const THVFolder* child = folder->Child(next++);
            OpenFolder(json, *child);
            stack.emplace_back(child, 0);
        } else {
            CloseFolder(json);
            stack.pop_back();
        }
    }
    json.EndObject();
}

} // namespace

int RunDump(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--password", true}, {"--compact", false}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("dump"), kOptions, 1, 1, io, parsed)) {
        return *exit;
    }
    // The document as stored: opened without the folder sorting the other commands apply.
    TDocumentPrompts prompts(io);
    THVDocument opened(prompts);
    prompts.SetPassword(parsed.Value("--password"));
    if (!opened.Open(FullFileName(parsed.Positional[0]))) {
        ReportErrorDetail(opened, io);
        return kExitFailure;
    }
    TLoadedDocument doc;
    doc.Version = opened.FileVersion();
    doc.Password = opened.Password();
    doc.Encoding = opened.FileEncoding();
    doc.Root = opened.DetachRoot();
    try {
        TJsonWriter json(io.Out, parsed.Has("--compact") ? -1 : kPrettyIndent);
        WriteDocument(json, doc);
    } catch (const std::exception& e) {
        io.Out.flush();
        io.Err << e.what() << '\n';
        return kExitFailure;
    }
    io.Out << '\n';
    return kExitOk;
}

} // namespace hv::cli

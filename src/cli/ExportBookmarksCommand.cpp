#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"
#include "FolderPath.h"
#include "importexport/ExpBm.h"
#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"
#include "text/Encoding.h"

#include <ostream>

namespace hv::cli {

namespace {

// The export needs no fonts; this keeps the settings from asking fontconfig for the memo font.
class TNoFontQuery final : public TFontQuery {
public:
    bool IsInstalled(std::string_view) const override { return false; }
    std::string DefaultUiFamily() const override { return "Sans Serif"; }
};

// The ExportBm settings from the user's store; the defaults when it cannot be read.
TExportBmOptions StoredOptions(TCommandIO& io) {
    try {
        TFileRegistryStore store(RegistryFilePath(), [&io](const std::string& message) { io.Err << message << '\n'; });
        const TNoFontQuery fonts;
        TSettings settings(store, &fonts);
        return ReadExportBmOptions(settings);
    } catch (const std::exception& e) {
        io.Err << e.what() << '\n';
        return {};
    }
}

} // namespace

int RunExportBookmarks(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {
        {"--folder", true}, {"--subfolders-first", false}, {"--title", true}, {"--password", true}};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("export-bookmarks"), kOptions, 2, 2, io, parsed)) {
        return *exit;
    }
    std::optional<TLoadedDocument> doc = LoadDocument(parsed.Positional[0], parsed.Value("--password"), io);
    if (!doc) {
        return kExitFailure;
    }
    TExportBmOptions options = StoredOptions(io);
    // Without --folder the source is the root either way: with AllFolder the whole tree, without
    // it the current folder, which here is the root.
    const THVFolder* source = SelectFolderOption(*doc->Root, parsed, io);
    if (source == nullptr) {
        return kExitFailure;
    }
    if (parsed.Has("--subfolders-first")) {
        options.ItemsFirst = false;
    }
    if (auto title = parsed.Value("--title")) {
        options.Title = DecodeUtf8(*title);
    }
    const std::string& output = parsed.Positional[1];
    try {
        ExportBookmarkFile(output, *source, options);
    } catch (const std::exception& e) {
        io.Err << e.what() << '\n';
        return kExitFailure;
    }
    io.Out << kExportDone << '\n';
    return kExitOk;
}

} // namespace hv::cli

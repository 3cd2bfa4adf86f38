#include "Arguments.h"
#include "Command.h"
#include "DocumentLoader.h"
#include "FolderPath.h"
#include "UserSettings.h"
#include "importexport/ExpBm.h"
#include "importexport/ExpHtml.h"
#include "model/HVFolder.h"
#include "model/ItemOrder.h"
#include "settings/Settings.h"
#include "text/Encoding.h"

#include <array>
#include <ostream>

namespace hv::cli {

namespace {

// The index of value among choices, or -1.
int IndexOf(std::string_view value, std::span<const std::string_view> choices) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i] == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

int RunExportHtml(TCommandArgs args, TCommandIO& io) {
    static constexpr TOption kOptions[] = {{"--folder", true},    {"--kanji", true},       {"--eol", true},
                                           {"--heading", true},   {"--bold-items", false}, {"--title", true},
                                           {"--show-cmd", false}, {"--password", true}};
    static constexpr std::array<std::string_view, 4> kKanji = {"sjis", "jis", "euc", "utf8"};
    static constexpr std::array<std::string_view, 3> kEol = {"crlf", "lf", "cr"};
    static constexpr std::array<std::string_view, 4> kHeading = {"h1", "h2", "h3", "b"};
    TParsedArgs parsed;
    if (auto exit = ParseArgs(args, *FindCommand("export-html"), kOptions, 2, 2, io, parsed)) {
        return *exit;
    }
    TExportHtmlOptions options;
    TItemOrder order;
    if (!WithUserSettings(io, [&](TRegistryStore&, TSettings& settings) {
            options = ReadExportHtmlOptions(settings);
            order.SortType = settings.Get(opt::Main::SortType);
            order.SortDescending = settings.Get(opt::Main::SortDescending);
            order.NewItemAtBottom = settings.Get(opt::Main::NewItemAtBottom);
        })) {
        return kExitFailure;
    }
    const std::pair<const char*, std::pair<std::span<const std::string_view>, int*>> choices[] = {
        {"--kanji", {kKanji, &options.KanjiCode}},
        {"--eol", {kEol, &options.ReturnCode}},
        {"--heading", {kHeading, &options.FolderName}},
    };
    for (const auto& [name, choice] : choices) {
        if (auto value = parsed.Value(name)) {
            const int index = IndexOf(*value, choice.first);
            if (index < 0) {
                return UsageError(io, "export-html", std::string(name) + ": '" + *value + "' は使えません。");
            }
            *choice.second = index;
        }
    }
    options.BoldItem = options.BoldItem || parsed.Has("--bold-items");
    options.ShowCmd = options.ShowCmd || parsed.Has("--show-cmd");
    const std::string& docPath = parsed.Positional[0];
    options.Title =
        parsed.Has("--title") ? DecodeUtf8(*parsed.Value("--title")) : DefaultHtmlTitle(DecodeUtf8(docPath));
    std::optional<TLoadedDocument> doc = LoadDocument(docPath, parsed.Value("--password"), io);
    if (!doc) {
        return kExitFailure;
    }
    THVFolder* source = SelectFolderOption(*doc->Root, parsed, io);
    if (source == nullptr) {
        return kExitFailure;
    }
    try {
        ExportHtmlFile(parsed.Positional[1], *source, options, order);
    } catch (const std::exception& e) {
        io.Err << e.what() << '\n';
        return kExitFailure;
    }
    io.Out << kExportDone << '\n';
    return kExitOk;
}

} // namespace hv::cli

#include "settings/FontQuery.h"

#include "platform/Process.h"

#include <optional>
#include <string>
#include <vector>

namespace hv {

namespace {

constexpr std::string_view MemoFontPrefix = "00,09,";
constexpr std::string_view FirstMemoFont = "MS UI Gothic";
constexpr std::string_view SecondMemoFont = "ＭＳ Ｐゴシック";
constexpr std::string_view FallbackUiFamily = "Sans Serif";
// fc-list may have to build its cache on a first run; beyond this it is given up.
constexpr int AnswerTimeoutMs = 2000;

} // namespace

// Runs a fontconfig tool found on PATH (no shell) and returns what it wrote to standard
// output, or nothing when it could not run, failed or took too long. After one tool has not
// answered in time, none is asked again: the settings would otherwise wait once per question.
std::optional<std::string> TFontconfigQuery::Ask(const std::vector<std::string>& argv) const {
    if (m_GaveUp) {
        return std::nullopt;
    }
    const std::optional<std::string> path = FindProgram(argv.front(), DefaultSearchPath());
    if (!path) {
        return std::nullopt;
    }
    TCapturedRun run = RunCaptured(*path, argv, AnswerTimeoutMs);
    if (run.TimedOut) {
        m_GaveUp = true;
    }
    if (!run.Succeeded()) {
        return std::nullopt;
    }
    return std::move(run.Output);
}

TFontQuery::~TFontQuery() = default;

bool TFontconfigQuery::IsInstalled(std::string_view family) const {
    // fontconfig compares family names without regard to case, under every name a font
    // carries (a Japanese font answers to its Japanese name too). In a pattern "\", "-", ":"
    // and "," are special and are escaped.
    std::string pattern = ":family=";
    for (char c : family) {
        if (c == '\\' || c == '-' || c == ':' || c == ',') {
            pattern += '\\';
        }
        pattern += c;
    }
    const std::optional<std::string> output = Ask({"fc-list", pattern, "family"});
    return output && output->find_first_not_of(" \t\r\n") != std::string::npos;
}

std::string TFontconfigQuery::DefaultUiFamily() const {
    const std::optional<std::string> output = Ask({"fc-match", "-f", "%{family[0]}", "sans-serif"});
    if (!output) {
        return std::string(FallbackUiFamily);
    }
    std::string family = *output;
    while (!family.empty() && (family.back() == '\n' || family.back() == '\r' || family.back() == ' ')) {
        family.pop_back();
    }
    return family.empty() ? std::string(FallbackUiFamily) : family;
}

std::string MemoFontDefault(const TFontQuery& fonts) {
    for (std::string_view family : {FirstMemoFont, SecondMemoFont}) {
        if (fonts.IsInstalled(family)) {
            return std::string(MemoFontPrefix) + std::string(family);
        }
    }
    return std::string(MemoFontPrefix) + fonts.DefaultUiFamily();
}

} // namespace hv

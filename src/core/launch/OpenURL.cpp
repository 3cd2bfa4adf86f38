#include "launch/OpenURL.h"

#include "launch/AccessRestriction.h"
#include "launch/CommandLine.h"
#include "model/HVItems.h"
#include "platform/Clock.h"
#include "platform/NetworkConnections.h"
#include "platform/ShellLauncher.h"
#include "platform/UserPrompts.h"

namespace hv {

namespace {

constexpr std::string_view kParseError = "コマンドを解析できません。\n\n";
constexpr std::string_view kRestricted =
    "只今の時間帯、インターネットへのアクセスが制限されていますが、続行してよろしいですか？\n"
    "（アクセスの制限については [設定] ダイアログボックスの [アクセス] タブをご覧ください）";
constexpr std::string_view kNoPhoneEntry =
    "ダイアルアップ接続先が選択されていません。\n[表示]-[設定] で設定ダイアログを開いてみてください。";

bool Launch(std::string_view text, const std::string& file, const std::string& parameters,
            const TLaunchServices& services) {
    const int code = services.Shell.Execute(file, parameters);
    if (ShellSucceeded(code)) {
        return true;
    }
    services.Prompts.Warning("実行できませんでした。エラーコード: " + std::to_string(code) + "\n\n" +
                             std::string(text));
    return false;
}

} // namespace

bool EnsureConnection(const TLaunchOptions& options, const TLaunchServices& services) {
    if (!options.CheckRasConnect || services.Network.IsConnected()) {
        return true;
    }
    if (options.PhoneEntry.empty()) {
        services.Prompts.Information(std::string(kNoPhoneEntry));
        return false;
    }
    return services.Network.Dial(options.PhoneEntry) == 0;
}

bool OpenURL(std::string_view text, const TLaunchOptions& options, const TLaunchServices& services) {
    if (!IsWebAddress(text)) {
        const std::optional<TCommandLineParts> parts = SplitCommandLine(text);
        // Parameters are handed over as words; an unclosed quote among them is as unreadable as
        // one around the program.
        if (!parts || !SplitShellWords(parts->Parameters)) {
            services.Prompts.Warning(std::string(kParseError) + std::string(text));
            return false;
        }
        return Launch(text, parts->Program, parts->Parameters, services);
    }
    if (!IsAccessAllowed(options.AccessRestriction, options.RestrictTime, services.Clock.Now()) &&
        !services.Prompts.YesNo(std::string(kRestricted))) {
        return false;
    }
    if (!EnsureConnection(options, services)) {
        return false;
    }
    return Launch(text, std::string(text), {}, services);
}

void RecordAccess(THVItem& item, const TClock& clock, const std::function<void(THVItem&)>& modified) {
    item.SetLastVisited(clock.Now());
    if (modified) {
        modified(item);
    }
}

} // namespace hv

#include "app/StartUp.h"

#include "platform/UserPrompts.h"
#include "settings/Settings.h"

namespace hv {

TStartOptions ParseStartArguments(const QStringList& arguments) {
    TStartOptions options;
    if (arguments.isEmpty()) {
        return options;
    }
    const QString& first = arguments.constFirst();
    options.CleanUp = first.compare(QStringLiteral("/u"), Qt::CaseInsensitive) == 0;
    options.DebugMode = arguments.constLast().compare(QStringLiteral("/d"), Qt::CaseInsensitive) == 0;
    if (!options.CleanUp && !(options.DebugMode && arguments.size() == 1)) {
        options.DocumentPath = first;
    }
    return options;
}

bool RunSettingsCleanUp(TRegistryStore& registry, TUserPrompts& prompts) {
    if (!prompts.YesNo(std::string(RemoveSettingsQuestion))) {
        return false;
    }
    std::vector<std::string> lines;
    if (auto line = RemoveUserSettings(registry, CurrentUserName())) {
        lines.push_back(*line);
    }
    prompts.Information(RemovedSettingsMessage(lines));
    return !lines.empty();
}

} // namespace hv

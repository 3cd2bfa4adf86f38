#include "app/StartUp.h"

#include "document/Preload.h"
#include "document/RecentFiles.h"
#include "platform/UserPrompts.h"
#include "settings/FileRegistryStore.h"
#include "settings/Settings.h"

#include <QFile>

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

TEarlyStart::TEarlyStart() = default;

// The document is let go of before the settings it was chosen with.
TEarlyStart::~TEarlyStart() = default;

void TEarlyStart::Begin(const TStartOptions& options) {
    m_Begun = true;
    try {
        m_Store = std::make_unique<TFileRegistryStore>();
        m_Settings = std::make_unique<TSettings>(*m_Store);
        TRecentFiles recent;
        recent.Load(*m_Settings);
        const std::string path =
            StartUpDocumentPath(QFile::encodeName(options.DocumentPath).toStdString(), m_Settings.get(), recent);
        if (!path.empty()) {
            m_Preload = std::make_unique<TDocumentPreload>(path, m_Settings->Get(opt::Main::SortFolder));
        }
    } catch (...) {
        m_Failure = std::current_exception();
    }
}

TSettings& TEarlyStart::Settings() {
    if (m_Failure) {
        std::rethrow_exception(m_Failure);
    }
    return *m_Settings;
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

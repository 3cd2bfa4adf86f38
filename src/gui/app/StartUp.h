#pragma once

#include <QString>
#include <QStringList>

#include <exception>
#include <memory>
#include <optional>

namespace hv {

class TDocumentPreload;
class TFileRegistryStore;
class TRegistryStore;
class TSettings;
class TUserPrompts;

// What the command line asks for: "/u" as the first argument (the settings clean-up), a
// document path as the first argument, "/d" as the last argument (debug mode).
struct TStartOptions {
    bool CleanUp = false;
    bool DebugMode = false;
    QString DocumentPath;
};

// arguments: without the program's own name.
TStartOptions ParseStartArguments(const QStringList& arguments);

// The user's settings and the start-up document, read before the toolkit starts: the document on a
// thread of its own, so that a large one is read while the window is being built.
class TEarlyStart {
public:
    TEarlyStart();
    TEarlyStart(const TEarlyStart&) = delete;
    TEarlyStart& operator=(const TEarlyStart&) = delete;
    ~TEarlyStart();

    // Reads the settings and starts reading the document options name (or the most recent one).
    // Keeps what goes wrong for Settings() to throw, where a message can be shown.
    void Begin(const TStartOptions& options);
    bool Begun() const { return m_Begun; }
    // The settings read by Begin; throws what reading them threw.
    TSettings& Settings();
    // The document being read, or nullptr.
    TDocumentPreload* Preload() { return m_Preload.get(); }

private:
    bool m_Begun = false;
    std::exception_ptr m_Failure;
    std::unique_ptr<TFileRegistryStore> m_Store;
    std::unique_ptr<TSettings> m_Settings;
    std::unique_ptr<TDocumentPreload> m_Preload;
};

// The "/u" clean-up: asks, removes the user's settings and tells what was removed. Returns
// whether anything was removed.
bool RunSettingsCleanUp(TRegistryStore& registry, TUserPrompts& prompts);

} // namespace hv

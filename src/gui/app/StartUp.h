#pragma once

#include <QString>
#include <QStringList>

namespace hv {

class TRegistryStore;
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

// The "/u" clean-up: asks, removes the user's settings and tells what was removed. Returns
// whether anything was removed.
bool RunSettingsCleanUp(TRegistryStore& registry, TUserPrompts& prompts);

} // namespace hv

#include "launch/LaunchSettings.h"

#include "settings/Settings.h"

namespace hv {

TLaunchOptions LaunchOptionsFromSettings(TSettings& settings) {
    TLaunchOptions options;
    options.AccessRestriction = settings.Get(opt::Main::AccessRestriction);
    options.RestrictTime = settings.Get(opt::Main::RestrictTime);
    options.CheckRasConnect = settings.Get(opt::Main::CheckRasConnect);
    options.PhoneEntry = settings.Get(opt::Main::PhoneEntry);
    return options;
}

} // namespace hv

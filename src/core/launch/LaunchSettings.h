#pragma once

#include "launch/OpenURL.h"

namespace hv {

class TSettings;

// The launch settings as the settings hold them now; read right before each launch.
TLaunchOptions LaunchOptionsFromSettings(TSettings& settings);

} // namespace hv

#pragma once

#include "properties/AccessTimeText.h"
#include "properties/Schedule.h"

namespace hv {

class TSettings;

// The options of the colour key of item rows, as the settings hold them now.
TItemColorOptions ItemColorOptionsFromSettings(TSettings& settings);

// The date settings of access-time texts, as the settings hold them now.
TAccessTimeOptions AccessTimeOptionsFromSettings(TSettings& settings);

} // namespace hv

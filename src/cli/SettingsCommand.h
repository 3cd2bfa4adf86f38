#pragma once

#include "Command.h"

namespace hv::cli {

// hvtool settings [set TABLE KEY VALUE [--escaped]]: lists the six settings tables, or changes
// one value; both run the program's start and end of the settings, so the store is left as the
// program would leave it.
int RunSettings(TCommandArgs args, TCommandIO& io);

} // namespace hv::cli

#pragma once

#include "Command.h"

#include <functional>
#include <string>

namespace hv {
class TSettings;
class TRegistryStore;
} // namespace hv

namespace hv::cli {

// Calls use with the user's settings (the registry store file); when the store cannot be read
// the message goes to io.Err and use is not called. Returns whether use was called.
bool WithUserSettings(TCommandIO& io, const std::function<void(TRegistryStore&, TSettings&)>& use);

// The user's SortFolder setting (folders in name order); its default when the settings cannot be
// read (reported on io.Err).
bool UserSortsFolders(TCommandIO& io);

// The user's home directory ($HOME, else the password database).
std::string HomeDirectory();

} // namespace hv::cli

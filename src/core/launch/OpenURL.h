#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace hv {

class THVItem;
class TClock;
class TUserPrompts;
class TShellLauncher;
class TNetworkConnections;

// The settings a launch reads; the caller fills them from the settings store right before
// each launch (LaunchOptionsFromSettings).
struct TLaunchOptions {
    // 0 none; 1 web addresses ask inside the time range; any other value: outside it.
    int AccessRestriction = 0;
    std::string RestrictTime = "0800-2300";
    // Check for an active connection before opening a web address; dial when there is none.
    bool CheckRasConnect = false;
    std::string PhoneEntry;
};

// The outside world of a launch.
struct TLaunchServices {
    TUserPrompts& Prompts;
    TShellLauncher& Shell;
    TNetworkConnections& Network;
    const TClock& Clock;
};

// The one launch routine for item URLs and command lines. A web address (http, https, ftp,
// gopher) passes the access restriction and the dial-up check and is handed to the shell as it
// is; anything else is split into program and parameters and started without those checks.
// Shows its own messages through the prompts and returns whether the launch happened.
// Throws EConvertError for an impossible time in RestrictTime and EDialUpError when there is
// no dialling service; the launch does not happen then.
bool OpenURL(std::string_view text, const TLaunchOptions& options, const TLaunchServices& services);

// Brings up a connection when CheckRasConnect asks for one and none is active; false when the
// launch must not go on (no entry chosen: a message; the dial failed: silently).
bool EnsureConnection(const TLaunchOptions& options, const TLaunchServices& services);

// Sets the item's LastVisited to now and tells modified, so the list and the document learn
// of the visit.
void RecordAccess(THVItem& item, const TClock& clock, const std::function<void(THVItem&)>& modified);

} // namespace hv

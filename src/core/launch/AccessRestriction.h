#pragma once

#include "model/DateTime.h"

#include <string_view>

namespace hv {

// The time range of the access restriction as milliseconds of the day, both bounds included.
struct TRestrictRange {
    int StartMSec = 0;
    int EndMSec = 0;
};

// Reads the first nine characters of RestrictTime: start hour (1-2), start minute (3-4), a
// separator (5, ignored), end hour (6-7), end minute (8-9); each pair is 0 when it is not a
// number. Throws EConvertError for an hour above 23 or a minute above 59 (or below 0).
TRestrictRange ParseRestrictTime(std::string_view restrictTime);

// Whether a web address may be opened at now without asking. restriction 0: always;
// 1: outside the range; any other value: inside it. The range never wraps past midnight: it
// runs from the earlier bound to the later one, so "2200-0600" means 06:00 to 22:00.
// RestrictTime is only read when restriction is non-zero.
bool IsAccessAllowed(int restriction, std::string_view restrictTime, TDateTime now);

} // namespace hv

#include "properties/TimeLine.h"

#include <cmath>

namespace hv {

std::optional<std::int64_t> ToTimeLine(TDateTime value) {
    if (!std::isfinite(value) || value < MinDateTimeDay - 1.0 || value > MaxDateTimeDay + 1.0) {
        return std::nullopt;
    }
    const double whole = std::trunc(value);
    std::int64_t day = static_cast<std::int64_t>(whole);
    std::int64_t msOfDay = std::llround(std::fabs(value - whole) * static_cast<double>(kMSecsPerDay));
    if (msOfDay >= kMSecsPerDay) {
        msOfDay -= kMSecsPerDay;
        ++day;
    }
    if (day < MinDateTimeDay || day > MaxDateTimeDay) {
        return std::nullopt;
    }
    return day * kMSecsPerDay + msOfDay;
}

int DayOfMonthOfDay(std::int64_t day) {
    return DecodeDateTime(static_cast<double>(day)).Day;
}

} // namespace hv

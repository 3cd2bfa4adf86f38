#pragma once

#include "model/DateTime.h"

#include <cstdint>
#include <optional>

namespace hv {

inline constexpr std::int64_t kMSecsPerDay = 86400000;
inline constexpr std::int64_t kMSecsPerMinute = 60000;

// A date-time as whole milliseconds on a straight line: day number * kMSecsPerDay plus the
// milliseconds of the time of day (so days before 1899-12-30 count too), rounded to the
// millisecond as DecodeDateTime rounds. Comparisons of schedule windows are exact here, where
// sums of doubles are not. nullopt for NaN, infinity and values outside years 1..9999.
std::optional<std::int64_t> ToTimeLine(TDateTime value);

// The day number (days since 1899-12-30) of a time-line moment.
constexpr std::int64_t TimeLineDay(std::int64_t ms) {
    return ms >= 0 ? ms / kMSecsPerDay : -((-ms + kMSecsPerDay - 1) / kMSecsPerDay);
}

// 1 = Sunday .. 7 = Saturday; day 0 (1899-12-30) was a Saturday.
constexpr int WeekDayOfDay(std::int64_t day) {
    return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

// The day of the month (1..31) of a day number.
int DayOfMonthOfDay(std::int64_t day);

} // namespace hv

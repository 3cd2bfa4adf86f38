#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hv {

// A local date and time: whole days since 1899-12-30 plus the time of day as the fraction
// (0.25 = 6:00). Days before 1899-12-30 are negative while the fraction still counts forward
// from midnight (-1.25 = 1899-12-29 6:00). The calendar is the proleptic Gregorian one, years
// 1 to 9999. No time zone is involved; conversions to and from the system clock use the C
// library's local time.
using TDateTime = double;

// 1899-12-30 is day 0; these bound the supported calendar range (0001-01-01 .. 9999-12-31).
constexpr int MinDateTimeDay = -693593;
constexpr int MaxDateTimeDay = 2958465;

constexpr double MSecsPerDay = 86400000.0;
constexpr double MinutesPerDay = 1440.0;

struct TDateTimeParts {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, MSec = 0;
    int DayOfWeek = 0; // 0 = Sunday .. 6 = Saturday
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month); // 0 for a month outside 1..12

// False when the parts do not name a real date and time of years 1..9999
// (2023/2/29, hour 24, minute 60, second 60, msec 1000, ...); out is left alone then.
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec, TDateTime& out);
// As TryEncodeDateTime, throwing EConvertError for impossible parts.
TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int msec = 0);

// Splits a date-time into its parts after rounding it to the nearest millisecond.
// Throws EConvertError for values outside years 1..9999 and for NaN or infinity.
TDateTimeParts DecodeDateTime(TDateTime value);

// "yyyy/m/d h:nn": four-digit year, month, day and hour without leading zeros, two-digit
// minutes, 24-hour clock; seconds are dropped. 2024-03-05 07:05:59 gives "2024/3/5 7:05".
std::string FormatDocDateTime(TDateTime value);

// Reads "year/month/day hour:minute" (one blank between date and time; years of 1 to 4
// digits, the other parts of 1 or 2 digits, leading zeros allowed, no signs, nothing after).
// Empty, unreadable and impossible texts give 0.
TDateTime ParseDocDateTime(std::string_view text);

// The local date-time of a Unix time (seconds since 1970-01-01 UTC), through localtime_r.
// Throws EConvertError when the result lies outside years 1..9999.
TDateTime DateTimeFromUnix(std::int64_t unixSeconds);
// The Unix time of a local date-time, through mktime with DST decided by the time zone;
// milliseconds are dropped. Throws EConvertError when the C library cannot represent it.
std::int64_t DateTimeToUnix(TDateTime value);

} // namespace hv

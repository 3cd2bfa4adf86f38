#include "model/DateTime.h"

#include "Errors.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace hv {

namespace {

// Day 0 (1899-12-30) counted from 1970-01-01.
constexpr std::int64_t DaysBefore1970 = 25569;
constexpr std::int64_t MSecsPerDayInt = 86400000;

// Days since 1970-01-01 of a proleptic Gregorian date (eras of 400 years, March-based years).
std::int64_t DaysFromCivil(int year, int month, int day) {
    const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t monthFromMarch = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// Reads 1..maxDigits decimal digits at pos; advances pos.
bool ReadNumber(std::string_view text, std::size_t& pos, std::size_t maxDigits, int& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < maxDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start) {
        return false;
    }
    // More digits than allowed is a malformed part, not a shorter number followed by garbage.
    return pos >= text.size() || text[pos] < '0' || text[pos] > '9';
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

TDateTime FromTm(const std::tm& tm, int msec) {
    TDateTime result = 0;
    // A leap second (tm_sec 60) is shown as the last second of its minute.
    const int second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
    if (!TryEncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, second, msec, result)) {
        throw EConvertError("日時が扱える範囲の外です: " + std::to_string(tm.tm_year + 1900) + " 年。");
    }
    return result;
}

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec, TDateTime& out) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        return false;
    }
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 || msec > 999) {
        return false;
    }
    const double date = static_cast<double>(DaysFromCivil(year, month, day) + DaysBefore1970);
    const double time = static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + msec) / MSecsPerDay;
    out = date >= 0 ? date + time : date - time;
    return true;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    TDateTime result = 0;
    if (!TryEncodeDateTime(year, month, day, hour, minute, second, msec, result)) {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, "正しくない日時です: %d/%d/%d %d:%02d:%02d.%03d。", year, month, day, hour,
                      minute, second, msec);
        throw EConvertError(buffer);
    }
    return result;
}

TDateTimeParts DecodeDateTime(TDateTime value) {
    if (!std::isfinite(value) || value < MinDateTimeDay - 1.0 || value > MaxDateTimeDay + 1.0) {
        throw EConvertError("正しくない日時の値です。");
    }
    // The calendar day is the whole part (toward zero); the time of day is the size of the rest.
    const double whole = std::trunc(value);
    std::int64_t day = static_cast<std::int64_t>(whole);
    std::int64_t msOfDay = std::llround(std::fabs(value - whole) * MSecsPerDay);
    if (msOfDay >= MSecsPerDayInt) {
        msOfDay -= MSecsPerDayInt;
        ++day;
    }
    if (day < MinDateTimeDay || day > MaxDateTimeDay) {
        throw EConvertError("正しくない日時の値です。");
    }
    TDateTimeParts parts;
    CivilFromDays(day - DaysBefore1970, parts.Year, parts.Month, parts.Day);
    parts.MSec = static_cast<int>(msOfDay % 1000);
    parts.Second = static_cast<int>(msOfDay / 1000 % 60);
    parts.Minute = static_cast<int>(msOfDay / 60000 % 60);
    parts.Hour = static_cast<int>(msOfDay / 3600000);
    // Day 0 was a Saturday.
    parts.DayOfWeek = static_cast<int>(((day + 6) % 7 + 7) % 7);
    return parts;
}

std::string FormatDocDateTime(TDateTime value) {
    const TDateTimeParts p = DecodeDateTime(value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d/%d/%d %d:%02d", p.Year, p.Month, p.Day, p.Hour, p.Minute);
    return buffer;
}

TDateTime ParseDocDateTime(std::string_view text) {
    std::size_t pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (!ReadNumber(text, pos, 4, year) || !Expect(text, pos, '/') || !ReadNumber(text, pos, 2, month) ||
        !Expect(text, pos, '/') || !ReadNumber(text, pos, 2, day) || !Expect(text, pos, ' ') ||
        !ReadNumber(text, pos, 2, hour) || !Expect(text, pos, ':') || !ReadNumber(text, pos, 2, minute) ||
        pos != text.size()) {
        return 0;
    }
    TDateTime result = 0;
    if (!TryEncodeDateTime(year, month, day, hour, minute, 0, 0, result)) {
        return 0;
    }
    return result;
}

TDateTime DateTimeFromUnix(std::int64_t unixSeconds) {
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm tm{};
    if (localtime_r(&t, &tm) == nullptr) {
        throw EConvertError("システムの時刻 " + std::to_string(unixSeconds) + " は扱える範囲の外です。");
    }
    return FromTm(tm, 0);
}

std::int64_t DateTimeToUnix(TDateTime value) {
    const TDateTimeParts p = DecodeDateTime(value);
    std::tm tm{};
    tm.tm_year = p.Year - 1900;
    tm.tm_mon = p.Month - 1;
    tm.tm_mday = p.Day;
    tm.tm_hour = p.Hour;
    tm.tm_min = p.Minute;
    tm.tm_sec = p.Second;
    tm.tm_isdst = -1;
    errno = 0;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1) && errno != 0) {
        throw EConvertError("日時 " + FormatDocDateTime(value) + " をシステムの時刻に変換できません。");
    }
    return static_cast<std::int64_t>(t);
}

} // namespace hv

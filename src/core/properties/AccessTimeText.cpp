#include "properties/AccessTimeText.h"

#include "properties/TimeLine.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace hv {

namespace {

constexpr std::array<std::string_view, 7> kJapaneseDays = {"(日)", "(月)", "(火)", "(水)", "(木)", "(金)", "(土)"};
constexpr std::array<std::string_view, 7> kEnglishDays = {"(Sun)", "(Mon)", "(Tue)", "(Wed)",
                                                          "(Thu)", "(Fri)", "(Sat)"};

std::string TwoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.2d", value);
    return buffer;
}

std::string TimeOfDay(int hour, int minute) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, " %.2d:%.2d", hour, minute);
    return buffer;
}

} // namespace

std::string AccessTimeText(TDateTime when, TDateTime now, const TAccessTimeOptions& options) {
    if (when == 0) {
        return {};
    }
    const std::optional<std::int64_t> whenMs = ToTimeLine(when);
    if (!whenMs) {
        return {};
    }
    const std::int64_t day = TimeLineDay(*whenMs);
    const TDateTimeParts parts = DecodeDateTime(static_cast<double>(day));
    const int hour = static_cast<int>(*whenMs - day * kMSecsPerDay) / 3600000;
    const int minute = static_cast<int>(*whenMs - day * kMSecsPerDay) / 60000 % 60;

    std::string text;
    if (options.DateStrType != 0) {
        const std::int64_t today = TimeLineDay(ToTimeLine(now).value_or(*whenMs));
        const long long elapsed = today - day;
        if (elapsed == 0) {
            text = "今日の";
        } else if (elapsed == 1) {
            text = "昨日の";
        } else {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%lld日前(%d/%d)の", elapsed, parts.Month, parts.Day);
            text = buffer;
        }
        return text + TimeOfDay(hour, minute);
    }

    const int year = options.YearTwoDigit ? parts.Year % 100 : parts.Year;
    text =
        TwoDigits(year) + options.DateSeparator + TwoDigits(parts.Month) + options.DateSeparator + TwoDigits(parts.Day);
    const int weekDay = WeekDayOfDay(day) - 1;
    if (options.DayOfWeek == 1) {
        text += kJapaneseDays[static_cast<std::size_t>(weekDay)];
    } else if (options.DayOfWeek == 2) {
        text += kEnglishDays[static_cast<std::size_t>(weekDay)];
    }
    int shownHour = hour;
    if (!options.Hour24) {
        if (hour >= 12) {
            text += " PM";
            if (hour > 12) {
                shownHour -= 12;
            }
        } else {
            text += " AM";
        }
    }
    return text + TimeOfDay(shownHour, minute);
}

} // namespace hv

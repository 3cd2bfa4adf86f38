#include "properties/Schedule.h"

#include "model/HVItems.h"
#include "platform/Clock.h"
#include "properties/TimeLine.h"

#include <cstdio>

namespace hv {

namespace {

// The text before the first sep; rest becomes the text after it (empty when there is none).
std::string_view TakeToken(std::string_view& rest, char sep) {
    const std::size_t pos = rest.find(sep);
    const std::string_view token = rest.substr(0, pos);
    rest = pos == std::string_view::npos ? std::string_view() : rest.substr(pos + 1);
    return token;
}

// A decimal integer with an optional sign that fits 32 bits; anything else is 0.
int ToIntDef0(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        pos = 1;
    }
    if (pos >= text.size()) {
        return 0;
    }
    long long value = 0;
    for (; pos < text.size(); ++pos) {
        if (text[pos] < '0' || text[pos] > '9') {
            return 0;
        }
        value = value * 10 + (text[pos] - '0');
        if (value > 2147483648LL) {
            return 0;
        }
    }
    value = negative ? -value : value;
    return value > 2147483647LL ? 0 : static_cast<int>(value);
}

// A number of the record: 0 when unreadable or outside 0..max.
std::uint8_t ToField(std::string_view text, int max) {
    const int value = ToIntDef0(text);
    return value < 0 || value > max ? 0 : static_cast<std::uint8_t>(value);
}

} // namespace

TScheduleRec ParseSchedule(std::string_view text) {
    TScheduleRec rec;
    std::string_view rest = text;
    const std::string_view mode = TakeToken(rest, ' ');
    rec.Mode = mode.find('M') != std::string_view::npos ? smMonthDays : smWeekDays;

    std::string_view days = TakeToken(rest, ' ');
    while (!days.empty()) {
        const int day = ToIntDef0(TakeToken(days, ','));
        if (day >= 1 && day <= 31) {
            rec.Days.set(static_cast<std::size_t>(day));
        }
    }

    std::string_view time = TakeToken(rest, ' ');
    rec.Hour = ToField(TakeToken(time, ':'), 23);
    rec.Minute = ToField(TakeToken(time, ':'), 59);

    std::string_view period = TakeToken(rest, ' ');
    rec.PeriodDays = ToField(TakeToken(period, ','), 30);
    rec.PeriodHours = ToField(TakeToken(period, ','), 23);
    return rec;
}

std::string FormatSchedule(const TScheduleForm& form) {
    std::string result;
    if (form.Mode == smMonthDays) {
        if (form.MonthDays.empty()) {
            return {};
        }
        result = "M ";
        for (char c : form.MonthDays) {
            // Bytes of multi-byte characters are all >= 0x80, so such characters go whole.
            if ((c >= '0' && c <= '9') || c == ',') {
                result += c;
            }
        }
    } else {
        std::string days;
        for (std::size_t day = 1; day <= 7; ++day) {
            if (form.WeekDays.test(day)) {
                days += std::to_string(day);
                days += ',';
            }
        }
        if (days.empty()) {
            return {};
        }
        days.pop_back();
        result = "W " + days;
    }
    char tail[64];
    std::snprintf(tail, sizeof tail, " %d:%.2d %d,%d", form.Hour, form.Minute, form.PeriodDays, form.PeriodHours);
    return result + tail;
}

bool NeedToVisit(std::string_view schedule, TDateTime lastVisited, TDateTime now) {
    if (schedule.empty()) {
        return false;
    }
    const std::optional<std::int64_t> nowMs = ToTimeLine(now);
    if (!nowMs) {
        return false;
    }
    const TScheduleRec rec = ParseSchedule(schedule);
    const std::int64_t timeOfDay = (rec.Hour * 60LL + rec.Minute) * kMSecsPerMinute;
    const std::int64_t period = rec.PeriodDays * kMSecsPerDay + rec.PeriodHours * 60LL * kMSecsPerMinute;

    // The latest moment not after now whose time of day is the scheduled one.
    std::int64_t candidate = TimeLineDay(*nowMs) * kMSecsPerDay + timeOfDay;
    if (candidate > *nowMs) {
        candidate -= kMSecsPerDay;
    }
    // Walk back one day at a time while the candidate lies inside the period; at most 32 rounds.
    std::optional<std::int64_t> scheduled;
    int monthDay = 0;
    for (; candidate > *nowMs - period; candidate -= kMSecsPerDay) {
        const std::int64_t day = TimeLineDay(candidate);
        if (day < MinDateTimeDay) {
            break; // before the calendar begins
        }
        int listed = 0;
        if (rec.Mode == smWeekDays) {
            listed = WeekDayOfDay(day);
        } else {
            // Counted down from the calendar, and read again from it at the turn of a month.
            if (monthDay <= 0) {
                monthDay = DayOfMonthOfDay(day);
            }
            listed = monthDay--;
        }
        if (rec.Days.test(static_cast<std::size_t>(listed))) {
            scheduled = candidate;
            break;
        }
    }
    if (!scheduled || *scheduled <= 0) {
        return false;
    }
    return *scheduled > ToTimeLine(lastVisited).value_or(0);
}

bool NeedToVisit(const THVItem& item, const TClock& clock) {
    return NeedToVisit(item.GetSchedule(), item.GetLastVisited(), clock.Now());
}

TItemTextColor GetItemTextColor(std::string_view schedule, TDateTime lastVisited, TDateTime now,
                                const TItemColorOptions& options) {
    // A never-visited item is never grey, whatever the grey time.
    if (lastVisited != 0) {
        const std::optional<std::int64_t> nowMs = ToTimeLine(now);
        const std::optional<std::int64_t> visitedMs = ToTimeLine(lastVisited);
        if (nowMs && visitedMs &&
            *nowMs - *visitedMs < options.GrayItemTime * static_cast<std::int64_t>(kMSecsPerMinute)) {
            return {TItemColorKind::Gray, 0};
        }
    }
    if (NeedToVisit(schedule, lastVisited, now)) {
        return {TItemColorKind::Due, options.NeedToVisitColor};
    }
    return {};
}

TItemTextColor GetItemTextColor(const THVItem& item, const TClock& clock, const TItemColorOptions& options) {
    return GetItemTextColor(item.GetSchedule(), item.GetLastVisited(), clock.Now(), options);
}

} // namespace hv

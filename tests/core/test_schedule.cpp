#include "model/HVItems.h"
#include "platform/Clock.h"
#include "properties/Schedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace hv;

namespace {

TScheduleDays Days(const std::vector<int>& days) {
    TScheduleDays set;
    for (int day : days) {
        set.set(static_cast<std::size_t>(day));
    }
    return set;
}

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return EncodeDateTime(y, mo, d, h, mi, s, ms);
}

TEST(ParseSchedule, ReadsForgivingly) {
    struct TCase {
        const char* Text;
        TScheduleMode Mode;
        std::vector<int> DayList;
        int Hour, Minute, PeriodDays, PeriodHours;
    };
    const TCase cases[] = {
        {"W 1,7 9:05 1,12", smWeekDays, {1, 7}, 9, 5, 1, 12},
        {"M 5,15,25 0:00 30,0", smMonthDays, {5, 15, 25}, 0, 0, 30, 0},
        {"W  0:00 30,0", smWeekDays, {}, 0, 0, 30, 0},
        {"", smWeekDays, {}, 0, 0, 0, 0},
        // Bad numbers give 0 (not the maximum); days outside 1..31 are dropped.
        {"W 1,x,40 25:99 45,-1", smWeekDays, {1}, 0, 0, 0, 0},
        {"M 0,32,,31,-3 23:59 30,23", smMonthDays, {31}, 23, 59, 30, 23},
        {"W 2 24:60 31,24", smWeekDays, {2}, 0, 0, 0, 0},
        {"M 99999999999,4 1:00 1,0", smMonthDays, {4}, 1, 0, 1, 0},
        {"W 2 +9:07x 1", smWeekDays, {2}, 9, 0, 1, 0},
        {"W 3 8:00 2,0 and more", smWeekDays, {3}, 8, 0, 2, 0},
        {"W １,2 9:00 1,0", smWeekDays, {2}, 9, 0, 1, 0},
        // The mode test looks for a capital M anywhere in the token.
        {"Month 3 1:00 1,0", smMonthDays, {3}, 1, 0, 1, 0},
        {"m 3 1:00 1,0", smWeekDays, {3}, 1, 0, 1, 0},
        {"X 3 1:00 1,0", smWeekDays, {3}, 1, 0, 1, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const TScheduleRec rec = ParseSchedule(c.Text);
        EXPECT_EQ(rec.Mode, c.Mode);
        EXPECT_EQ(rec.Days, Days(c.DayList));
        EXPECT_EQ(rec.Hour, c.Hour);
        EXPECT_EQ(rec.Minute, c.Minute);
        EXPECT_EQ(rec.PeriodDays, c.PeriodDays);
        EXPECT_EQ(rec.PeriodHours, c.PeriodHours);
    }
}

TEST(FormatSchedule, WritesTheStoredForm) {
    auto week = [](std::vector<int> days, int h, int mi, int pd, int ph) {
        return TScheduleForm{smWeekDays, Days(days), "ignored", h, mi, pd, ph};
    };
    auto month = [](const char* days, int h, int mi, int pd, int ph) {
        return TScheduleForm{smMonthDays, Days({1, 2}), days, h, mi, pd, ph};
    };
    const std::pair<TScheduleForm, const char*> cases[] = {
        {week({2, 6}, 7, 5, 0, 6), "W 2,6 7:05 0,6"},
        {week({7, 1}, 9, 5, 1, 12), "W 1,7 9:05 1,12"},
        // No day chosen removes the schedule.
        {week({}, 9, 0, 1, 0), ""},
        {month("", 9, 0, 1, 0), ""},
        {month("5,15,25", 0, 0, 30, 0), "M 5,15,25 0:00 30,0"},
        // Only digits and commas stay, unchecked; full-width characters go whole.
        {month("5, 15,２５x,,40", 23, 59, 0, 23), "M 5,15,,,40 23:59 0,23"},
        {month("abc", 9, 0, 1, 0), "M  9:00 1,0"},
    };
    for (const auto& [form, expected] : cases) {
        EXPECT_EQ(FormatSchedule(form), expected);
    }
}

// 2024-03-04 is a Monday.
constexpr const char* kMondays = "W 2 9:00 1,0";

TEST(NeedToVisit, WindowsAroundTheScheduledMoments) {
    struct TCase {
        const char* Name;
        const char* Schedule;
        TDateTime LastVisited;
        TDateTime Now;
        bool Due;
    };
    ASSERT_EQ(DecodeDateTime(At(2024, 3, 4)).DayOfWeek, 1);
    const TCase cases[] = {
        {"at the minute", kMondays, 0, At(2024, 3, 4, 9, 0), true},
        {"a minute before", kMondays, 0, At(2024, 3, 4, 8, 59), false},
        {"a millisecond before", kMondays, 0, At(2024, 3, 4, 8, 59, 59, 999), false},
        {"last second of the window", kMondays, 0, At(2024, 3, 5, 8, 59, 59), true},
        {"window end excluded", kMondays, 0, At(2024, 3, 5, 9, 0), false},
        {"visited inside the window", kMondays, At(2024, 3, 4, 9, 30), At(2024, 3, 4, 18, 0), false},
        {"visited at the moment itself", kMondays, At(2024, 3, 4, 9, 0), At(2024, 3, 4, 10, 0), false},
        {"visited just before", kMondays, At(2024, 3, 4, 8, 59), At(2024, 3, 4, 9, 0), true},
        {"due again next week", kMondays, At(2024, 3, 4, 9, 30), At(2024, 3, 11, 9, 0), true},
        {"period zero", "W 1,2,3,4,5,6,7 9:00 0,0", 0, At(2024, 3, 4, 9, 0), false},
        {"period hours", "W 2 9:00 0,6", 0, At(2024, 3, 4, 14, 59), true},
        {"period hours run out", "W 2 9:00 0,6", 0, At(2024, 3, 4, 15, 0), false},
        {"long period stays due", "W 2 9:00 30,0", At(2024, 1, 1), At(2024, 3, 6, 12, 0), true},
        {"new moment, new window", "W 2 9:00 30,0", At(2024, 3, 4, 10, 0), At(2024, 3, 20), true},
        {"yesterday's late moment", "W 2 23:30 1,0", 0, At(2024, 3, 5, 0, 15), true},
        {"across the year", "M 31 12:00 2,0", 0, At(2025, 1, 1, 10, 0), true},
        {"no 31 in April, no shift", "M 31 0:00 3,0", 0, At(2024, 5, 1, 10, 0), false},
        {"31 March", "M 31 0:00 3,0", 0, At(2024, 4, 2, 10, 0), true},
        {"29 February of a leap year", "M 29,30,31 0:00 3,0", 0, At(2024, 3, 1, 10, 0), true},
        {"29 February visited", "M 29,30,31 0:00 3,0", At(2024, 2, 29), At(2024, 3, 1, 10, 0), false},
        {"common year", "M 29,30,31 0:00 3,0", 0, At(2023, 3, 1, 10, 0), false},
        {"bad numbers", "W 1,x,40 25:99 45,-1", 0, At(2024, 3, 3, 0, 0), false},
        {"no schedule", "", 0, At(2024, 3, 4, 9, 0), false},
        {"Month reads month days", "Month 4 9:00 0,1", 0, At(2024, 3, 4, 9, 30), true},
        {"m reads week days", "m 4 9:00 0,1", 0, At(2024, 3, 4, 9, 30), false},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(NeedToVisit(c.Schedule, c.LastVisited, c.Now), c.Due) << c.Name;
    }
}

TEST(ItemTextColor, GreyComesBeforeDue) {
    struct TCase {
        const char* Name;
        const char* Schedule;
        TDateTime LastVisited;
        TDateTime Now;
        int GrayItemTime;
        TItemColorKind Kind;
    };
    const TCase cases[] = {
        {"recent visit is grey though due", kMondays, At(2024, 3, 4, 8, 55), At(2024, 3, 4, 9, 5), 1440,
         TItemColorKind::Gray},
        {"grey time 0 shows due", kMondays, At(2024, 3, 4, 8, 55), At(2024, 3, 4, 9, 5), 0, TItemColorKind::Due},
        {"never visited, not due", kMondays, 0, At(2024, 3, 4, 8, 5), 1440, TItemColorKind::Normal},
        {"never visited is never grey", "", 0, At(2024, 3, 4), 2147483647, TItemColorKind::Normal},
        {"inside the grey time", "", At(2024, 3, 3, 9, 1), At(2024, 3, 4, 9, 0), 1440, TItemColorKind::Gray},
        {"grey time end excluded", "", At(2024, 3, 3, 9, 0), At(2024, 3, 4, 9, 0), 1440, TItemColorKind::Normal},
        {"future visit with grey time 0", "", At(2024, 3, 5), At(2024, 3, 4), 0, TItemColorKind::Gray},
    };
    for (const TCase& c : cases) {
        const TItemTextColor color = GetItemTextColor(c.Schedule, c.LastVisited, c.Now, {0x00FF8000, c.GrayItemTime});
        EXPECT_EQ(color.Kind, c.Kind) << c.Name;
        EXPECT_EQ(color.Color, c.Kind == TItemColorKind::Due ? 0x00FF8000u : 0u) << c.Name;
    }
}

TEST(ItemTextColor, ItemOverloadsReadTheClockAndTheDefaults) {
    THVList list;
    THVItem* item = list.Add();
    item->SetSchedule(kMondays);
    TTestClock clock(At(2024, 3, 4, 8, 59));
    EXPECT_FALSE(NeedToVisit(*item, clock));
    clock.AdvanceMinutes(1);
    EXPECT_TRUE(NeedToVisit(*item, clock));
    EXPECT_EQ(GetItemTextColor(*item, clock, {}).Color, 255u);
    item->SetLastVisited(clock.Now());
    EXPECT_EQ(GetItemTextColor(*item, clock, {}).Kind, TItemColorKind::Gray);
}

} // namespace

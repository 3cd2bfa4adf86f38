#include "properties/AccessTimeText.h"

#include <gtest/gtest.h>

#include <limits>

using namespace hv;

namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return EncodeDateTime(y, mo, d, h, mi, s);
}

TAccessTimeOptions Date(bool twoDigit, const char* separator, int dayOfWeek, bool hour24) {
    return {0, twoDigit, separator, dayOfWeek, hour24};
}

TEST(AccessTimeText, DateStyle) {
    const TAccessTimeOptions h12 = Date(true, "/", 1, false);
    const struct {
        TDateTime When;
        TAccessTimeOptions Options;
        const char* Expected;
    } cases[] = {
        // 2024-03-05 is a Tuesday.
        {At(2024, 3, 5, 13, 5, 59), TAccessTimeOptions{}, "24/03/05(火) 13:05"},
        {At(2024, 3, 5, 13, 5), h12, "24/03/05(火) PM 01:05"},
        {At(2024, 3, 5, 0, 30), h12, "24/03/05(火) AM 00:30"},
        {At(2024, 3, 5, 12, 0), h12, "24/03/05(火) PM 12:00"},
        {At(2024, 3, 5, 11, 59), h12, "24/03/05(火) AM 11:59"},
        {At(2024, 3, 5, 23, 59), h12, "24/03/05(火) PM 11:59"},
        {At(2024, 3, 5, 13, 5), Date(false, "-", 2, true), "2024-03-05(Tue) 13:05"},
        {At(2024, 3, 5, 7, 5), Date(true, "", 0, true), "240305 07:05"},
        {At(2024, 3, 5, 7, 5), Date(true, "/", 3, true), "24/03/05 07:05"},
        {At(2005, 1, 9, 9, 0), Date(true, ".", 1, true), "05.01.09(日) 09:00"},
        {At(2000, 12, 30, 9, 0), Date(true, "/", 2, true), "00/12/30(Sat) 09:00"},
        {0, TAccessTimeOptions{}, ""},
        {std::numeric_limits<double>::quiet_NaN(), TAccessTimeOptions{}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AccessTimeText(c.When, At(2024, 3, 5, 15, 0), c.Options), c.Expected);
    }
}

TEST(AccessTimeText, ElapsedStyleCountsCalendarDays) {
    TAccessTimeOptions elapsed;
    elapsed.DateStrType = 1;
    const TDateTime now = At(2024, 3, 5, 0, 1);
    EXPECT_EQ(AccessTimeText(At(2024, 3, 5, 0, 0), now, elapsed), "今日の 00:00");
    EXPECT_EQ(AccessTimeText(At(2024, 3, 4, 23, 59), now, elapsed), "昨日の 23:59");
    EXPECT_EQ(AccessTimeText(At(2024, 3, 2, 9, 0), now, elapsed), "3日前(3/2)の 09:00");
    EXPECT_EQ(AccessTimeText(At(2023, 12, 25, 18, 30), now, elapsed), "71日前(12/25)の 18:30");
    EXPECT_EQ(AccessTimeText(At(2024, 2, 28, 0, 1), At(2024, 3, 1, 23, 59), elapsed), "2日前(2/28)の 00:01");
    elapsed.DateStrType = 7; // any non-zero value
    EXPECT_EQ(AccessTimeText(At(2024, 3, 5, 13, 5), now, elapsed), "今日の 13:05");
}

} // namespace

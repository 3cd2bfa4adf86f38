#include "BookmarkTestSupport.h"
#include "Errors.h"
#include "model/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

using namespace hv;

namespace {

using test::TTimeZone;

std::string Show(TDateTime value) {
    const TDateTimeParts p = DecodeDateTime(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d.%03d w%d", p.Year, p.Month, p.Day, p.Hour, p.Minute,
                  p.Second, p.MSec, p.DayOfWeek);
    return buffer;
}

} // namespace

TEST(DateTimeCalendar, KnownDaysAndLeapYears) {
    EXPECT_EQ(Show(0), "1899/12/30 0:00:00.000 w6");
    EXPECT_EQ(Show(2), "1900/1/1 0:00:00.000 w1");
    EXPECT_EQ(Show(45000), "2023/3/15 0:00:00.000 w3");
    EXPECT_EQ(Show(-1.25), "1899/12/29 6:00:00.000 w5"); // before day 0 the fraction still counts forward
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(Show(MinDateTimeDay), "1/1/1 0:00:00.000 w1");
    EXPECT_EQ(Show(EncodeDateTime(9999, 12, 31, 23, 59, 59, 999)), "9999/12/31 23:59:59.999 w5");
    EXPECT_EQ(Show(EncodeDateTime(2024, 2, 28) + 1), "2024/2/29 0:00:00.000 w4");
    EXPECT_EQ(Show(EncodeDateTime(1900, 2, 28) + 1), "1900/3/1 0:00:00.000 w4");
    EXPECT_EQ(Show(EncodeDateTime(2000, 2, 28) + 1), "2000/2/29 0:00:00.000 w2");
    int weekday = DecodeDateTime(EncodeDateTime(1600, 1, 1)).DayOfWeek;
    for (int day = static_cast<int>(EncodeDateTime(1600, 1, 1)); day <= EncodeDateTime(2400, 12, 31); ++day) {
        const TDateTimeParts p = DecodeDateTime(day);
        ASSERT_EQ(p.DayOfWeek, weekday) << day;
        ASSERT_DOUBLE_EQ(EncodeDateTime(p.Year, p.Month, p.Day), day);
        weekday = (weekday + 1) % 7;
    }
}

TEST(DateTimeCalendar, ImpossiblePartsAndValuesAreRejected) {
    const int cases[][7] = {{2023, 2, 29, 0, 0, 0, 0}, {1900, 2, 29, 0, 0, 0, 0}, {2024, 4, 31, 0, 0, 0, 0},
                            {2024, 0, 1, 0, 0, 0, 0},  {2024, 13, 1, 0, 0, 0, 0}, {2024, 1, 0, 0, 0, 0, 0},
                            {0, 1, 1, 0, 0, 0, 0},     {10000, 1, 1, 0, 0, 0, 0}, {2024, 1, 1, 24, 0, 0, 0},
                            {2024, 1, 1, 0, 60, 0, 0}, {2024, 1, 1, 0, 0, 60, 0}, {2024, 1, 1, 0, 0, 0, 1000},
                            {2024, 1, 1, -1, 0, 0, 0}};
    for (const auto& c : cases) {
        TDateTime out = 123;
        EXPECT_FALSE(TryEncodeDateTime(c[0], c[1], c[2], c[3], c[4], c[5], c[6], out)) << c[0] << "/" << c[1];
        EXPECT_EQ(out, 123);
        EXPECT_THROW(EncodeDateTime(c[0], c[1], c[2], c[3], c[4], c[5], c[6]), EConvertError);
    }
    for (double value : {MaxDateTimeDay + 1.0, MinDateTimeDay - 1.0, 1e300, std::nan("")}) {
        EXPECT_THROW(DecodeDateTime(value), EConvertError) << value;
    }
}

TEST(DateTimeCalendar, RejectionsSayWhatWasWrongInJapanese) {
    try {
        EncodeDateTime(2024, 13, 1, 9, 5, 0, 0);
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "正しくない日時です: 2024/13/1 9:05:00.000。");
    }
    try {
        DecodeDateTime(std::nan(""));
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "正しくない日時の値です。");
    }
}

TEST(DateTimeCalendar, DecodeRoundsToTheMillisecond) {
    for (int minute = 0; minute < 1440; ++minute) {
        const TDateTimeParts p = DecodeDateTime(45000 + minute / 1440.0);
        ASSERT_EQ(p.Hour * 60 + p.Minute, minute);
        ASSERT_EQ(p.Second, 0);
    }
    EXPECT_EQ(Show(45000 + 0.5 / 1440), "2023/3/15 0:00:30.000 w3");
    EXPECT_EQ(Show(45001 - 1e-10), "2023/3/16 0:00:00.000 w4");
    EXPECT_EQ(Show(-1.99999999999), "1899/12/30 0:00:00.000 w6");
}

TEST(DocDateTime, FormatAndParse) {
    EXPECT_EQ(FormatDocDateTime(EncodeDateTime(2024, 3, 5, 7, 5, 59, 999)), "2024/3/5 7:05");
    EXPECT_EQ(FormatDocDateTime(EncodeDateTime(987, 12, 31, 23, 59)), "0987/12/31 23:59");
    EXPECT_EQ(FormatDocDateTime(0), "1899/12/30 0:00");
    EXPECT_DOUBLE_EQ(ParseDocDateTime("2024/03/05 07:05"), EncodeDateTime(2024, 3, 5, 7, 5));
    EXPECT_DOUBLE_EQ(ParseDocDateTime("987/1/1 0:0"), EncodeDateTime(987, 1, 1));
    EXPECT_DOUBLE_EQ(ParseDocDateTime("1899/12/30 12:00"), 0.5);
    for (int minute = 0; minute < 1440; minute += 7) {
        const TDateTime value = EncodeDateTime(2024, 2, 29, minute / 60, minute % 60);
        ASSERT_DOUBLE_EQ(ParseDocDateTime(FormatDocDateTime(value)), value) << minute;
    }
}

TEST(DocDateTime, ParseRejects) {
    const char* const bad[] = {"2024/3/5",       "2024/3/5 7:",      "2024/3/5  7:05", " 2024/3/5 7:05",
                               "2024/3/5 7:05 ", "2024/3/5 7:05:00", "2024-3-5 7:05",  "2024/3/5\t7:05",
                               "+2024/3/5 7:05", "2024/-3/5 7:05",   "20240/3/5 7:05", "2024/003/5 7:05",
                               "0/1/1 0:00",     "2023/2/29 0:00",   "2024/4/31 0:00", "2024/13/1 0:00",
                               "2024/1/0 0:00",  "2024/1/1 24:00",   "2024/1/1 0:60"};
    for (const char* text : bad) {
        EXPECT_EQ(ParseDocDateTime(text), 0) << '"' << text << '"';
    }
    EXPECT_EQ(ParseDocDateTime(""), 0);
    EXPECT_EQ(ParseDocDateTime(std::string_view("2024/3/5 7:05\0", 14)), 0);
}

TEST(DateTimeUnix, LocalTimeZones) {
    {
        TTimeZone zone("Asia/Tokyo");
        EXPECT_EQ(FormatDocDateTime(DateTimeFromUnix(0)), "1970/1/1 9:00");
        EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2024, 3, 5, 7, 5, 30, 999)), 1709589930); // msec dropped
    }
    TTimeZone zone("Europe/Berlin");
    // 2024-03-31 01:00 UTC: 2:00 CET became 3:00 CEST.
    EXPECT_EQ(Show(DateTimeFromUnix(1711846799)), "2024/3/31 1:59:59.000 w0");
    EXPECT_EQ(Show(DateTimeFromUnix(1711846800)), "2024/3/31 3:00:00.000 w0");
    EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2024, 3, 31, 4)) - DateTimeToUnix(EncodeDateTime(2024, 3, 31, 1)), 7200);
    // 2024-10-27 01:00 UTC: 3:00 CEST became 2:00 CET.
    EXPECT_EQ(Show(DateTimeFromUnix(1729990800)), "2024/10/27 2:00:00.000 w0");
    EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2024, 7, 1, 12)), 1719828000);
    EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2024, 12, 1, 12)), 1733050800);
    for (std::int64_t t = 1711800000; t < 1711900000; t += 600) {
        ASSERT_EQ(DateTimeToUnix(DateTimeFromUnix(t)), t);
    }
}

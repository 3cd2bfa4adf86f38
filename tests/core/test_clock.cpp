#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

using namespace hv;

namespace {

bool ReadsRealTime(const TClock& clock) {
    return std::fabs(clock.Now() - DateTimeFromUnix(std::time(nullptr))) < 5.0 / 86400;
}

} // namespace

TEST(SystemClock, HollyvineNowPinsTheTimeWhenReadable) {
    const char* given = std::getenv("HOLLYVINE_NOW");
    const std::string saved = given != nullptr ? given : "";
    unsetenv("HOLLYVINE_NOW");
    TSystemClock clock;
    EXPECT_TRUE(ReadsRealTime(clock));
    setenv("HOLLYVINE_NOW", "2024/3/5 7:05", 1);
    EXPECT_DOUBLE_EQ(clock.Now(), EncodeDateTime(2024, 3, 5, 7, 5));
    for (const char* value : {"", "tomorrow", "2023/2/29 10:00", "2024/3/5 7:05:00"}) {
        setenv("HOLLYVINE_NOW", value, 1);
        EXPECT_TRUE(ReadsRealTime(clock)) << '"' << value << '"';
    }
    given != nullptr ? setenv("HOLLYVINE_NOW", saved.c_str(), 1) : unsetenv("HOLLYVINE_NOW");
}

TEST(TestClock, StepsDoNotDrift) {
    TTestClock clock(EncodeDateTime(2024, 2, 28, 23, 30));
    clock.AdvanceMinutes(45);
    EXPECT_EQ(FormatDocDateTime(clock.Now()), "2024/2/29 0:15");
    clock.Advance(1);
    clock.AdvanceMinutes(-16);
    EXPECT_EQ(FormatDocDateTime(clock.Now()), "2024/2/29 23:59");
    clock.Set(EncodeDateTime(2024, 1, 1));
    for (int i = 0; i < 10000; ++i) {
        clock.AdvanceMinutes(1);
    }
    EXPECT_EQ(FormatDocDateTime(clock.Now()), "2024/1/7 22:40");
}

TEST(ProcessClock, InjectAndRestore) {
    TTestClock fixed(EncodeDateTime(2001, 2, 3, 4, 5));
    SetClock(&fixed);
    EXPECT_EQ(&Clock(), &fixed);
    SetClock(nullptr);
    EXPECT_NE(dynamic_cast<TSystemClock*>(&Clock()), nullptr);
    {
        TScopedClock scoped(fixed);
        TTestClock inner;
        {
            TScopedClock nested(inner);
            EXPECT_EQ(&Clock(), &inner);
        }
        EXPECT_EQ(&Clock(), &fixed);
    }
    EXPECT_NE(dynamic_cast<TSystemClock*>(&Clock()), nullptr);
}

#include "platform/Clock.h"

#include <gtest/gtest.h>

TEST(Clock, StopwatchAndTimeMsFollowSleep)
{
    StartClock();
    const double startMs = GetTimeMs();
    CStopwatch stopwatch;
    SleepMs(20);
    const double elapsed = stopwatch.GetElapsedMs();
    EXPECT_GE(elapsed, 19.0);
    EXPECT_LT(elapsed, 2000.0);
    EXPECT_GE(GetTimeMs() - startMs, elapsed - 0.001);
    // Restarting the clock moves "since start" back to about zero.
    StartClock();
    EXPECT_LT(GetTimeMs(), 5.0);
}

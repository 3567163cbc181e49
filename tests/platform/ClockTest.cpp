#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <chrono>

namespace
{
double OuterMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}
}

// The program's clocks agree with the steady clock measured around them, however long the
// machine takes to come back from the sleep.
TEST(Clock, StopwatchAndTimeMsFollowSleep)
{
    StartClock();
    const double startMs = GetTimeMs();
    const auto outerStart = std::chrono::steady_clock::now();
    CStopwatch stopwatch;
    SleepMs(20);
    const double elapsed = stopwatch.GetElapsedMs();
    const double outer = OuterMs(outerStart);
    EXPECT_GE(elapsed, 19.0);
    EXPECT_LE(elapsed, outer + 0.001);
    EXPECT_GE(GetTimeMs() - startMs, elapsed - 0.001);
    // Restarting the clock moves "since start" back to no more than the time since then.
    const auto restart = std::chrono::steady_clock::now();
    StartClock();
    const double sinceRestart = GetTimeMs();
    EXPECT_GE(sinceRestart, 0.0);
    EXPECT_LE(sinceRestart, OuterMs(restart) + 0.001);
}

#include "platform/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
// Constant-initialised, so they hold sane values whatever the static-initialisation order.
double g_CounterStart = 0.0;
double g_CounterFrequency = 1e9;
std::atomic<bool> g_ManualClock{false};
std::atomic<double> g_ManualMs{0.0};
}

void SetManualClockMs(double milliseconds)
{
    g_ManualMs.store(milliseconds);
    g_ManualClock.store(true);
}

double ReadPerformanceCounter()
{
    if (g_ManualClock.load())
        return g_CounterStart + g_ManualMs.load() * g_CounterFrequency / 1000.0;
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

double ReadPerformanceFrequency()
{
    return 1e9;
}

void StartClock()
{
    g_CounterStart = ReadPerformanceCounter();
    g_CounterFrequency = ReadPerformanceFrequency();
}

double GetTicksSinceStart()
{
    return ReadPerformanceCounter() - g_CounterStart;
}

double GetTimeMs()
{
    return GetTicksSinceStart() / g_CounterFrequency * 1000.0;
}

uint32_t GetTickCountMs()
{
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

double GetRealTimeMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SleepMs(uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

CStopwatch::CStopwatch()
    : m_StartTicks(GetTicksSinceStart())
{
}

double CStopwatch::GetElapsedMs() const
{
    return (GetTicksSinceStart() - m_StartTicks) / g_CounterFrequency * 1000.0;
}

// The program's clocks. The performance counter is the steady clock in nanoseconds; its
// start value and frequency are process-wide doubles that the program takes during static
// initialisation (StartClock), so "since start" means since that moment. Before StartClock
// runs the start value is 0 and times are raw counter readings.
#pragma once

#include <cstdint>

double ReadPerformanceCounter();   // steady clock, in counter ticks
double ReadPerformanceFrequency(); // counter ticks per second
void StartClock();                 // takes the start value and the frequency

double GetTicksSinceStart();
double GetTimeMs();        // milliseconds since start
uint32_t GetTickCountMs(); // milliseconds of the monotonic clock, wrapping at 2^32
void SleepMs(uint32_t milliseconds);

// Makes the performance counter read a set time instead of the steady clock: every clock of
// the program built on it (GetTimeMs, CStopwatch) then follows the value given, in
// milliseconds since start. A capture sets it to each frame's time, so a run does not depend
// on how long frames take to draw. GetTickCountMs and SleepMs stay real.
void SetManualClockMs(double milliseconds);
// Milliseconds of the steady clock from an arbitrary origin; never follows the manual clock,
// for measuring how long work really takes.
double GetRealTimeMs();

class CStopwatch
{
public:
    CStopwatch();
    double GetElapsedMs() const;

private:
    double m_StartTicks;
};

// The smoothed frame rate shown in the corner: starts at 60 and moves a quarter of the way
// towards each new measurement.
#pragma once

class CFrameRateMeter
{
public:
    // Adds one pass that took elapsedMs; returns the new smoothed rate in frames per second.
    double AddPass(double elapsedMs)
    {
        if (elapsedMs > 0.0)
            m_SmoothedRate = 0.75 * m_SmoothedRate + 0.25 * (1000.0 / elapsedMs);
        return m_SmoothedRate;
    }
    double GetRate() const { return m_SmoothedRate; }

private:
    double m_SmoothedRate = 60.0;
};

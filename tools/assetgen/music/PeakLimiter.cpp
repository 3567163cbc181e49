#include "music/PeakLimiter.h"

#include "music/Dsp.h"

#include <algorithm>
#include <cmath>
#include <deque>

CPeakLimiter::CPeakLimiter(float ceiling, double lookaheadSeconds, double releaseSeconds)
    : m_Ceiling(ceiling)
    , m_Lookahead(static_cast<size_t>(std::max<int64_t>(1, SecondsToSamples(lookaheadSeconds))))
    , m_ReleaseCoef(std::exp(-1.0f / static_cast<float>(releaseSeconds * kSampleRate)))
{
}

void CPeakLimiter::Process(const SStereoBuffer& input, float gain, SStereoBuffer& output) const
{
    const size_t count = input.m_Left.size();
    // The gain each sample needs on its own.
    std::vector<float> gains(count);
    for (size_t i = 0; i < count; ++i)
    {
        const float peak = gain * std::max(std::fabs(input.m_Left[i]), std::fabs(input.m_Right[i]));
        gains[i] = peak > m_Ceiling ? m_Ceiling / peak : 1.0f;
    }
    // Hold: the smallest need over the next m_Lookahead samples (a running minimum).
    std::vector<float> held(count);
    std::deque<size_t> window;
    for (size_t i = count; i-- > 0;)
    {
        while (!window.empty() && gains[window.back()] >= gains[i])
            window.pop_back();
        window.push_back(i);
        if (window.front() >= i + m_Lookahead)
            window.pop_front();
        held[i] = gains[window.front()];
    }
    // Release: fall at once, rise slowly; never above the held need.
    float released = 1.0f;
    for (size_t i = 0; i < count; ++i)
    {
        released = held[i] < released ? held[i] : held[i] + (released - held[i]) * m_ReleaseCoef;
        held[i] = released;
    }
    // Attack: average the last m_Lookahead values. Each of them holds the need of sample i,
    // so the average never exceeds it.
    output = SStereoBuffer(static_cast<int64_t>(count));
    double sum = 0.0;
    for (size_t i = 0; i < count; ++i)
    {
        sum += held[i];
        if (i >= m_Lookahead)
            sum -= held[i - m_Lookahead];
        const size_t span = std::min(i + 1, m_Lookahead);
        // The running sum's rounding could overshoot by a hair; the need itself caps it.
        const float smooth = std::min(static_cast<float>(sum / static_cast<double>(span)), gains[i]);
        output.m_Left[i] = input.m_Left[i] * gain * smooth;
        output.m_Right[i] = input.m_Right[i] * gain * smooth;
    }
}

// Measures of one channel of sampled sound, for the tests of what makes or decodes it.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

// Upward zero crossings per second over samples [from, to) of a signal sampled at rate.
inline double MeasureFrequency(const std::vector<float>& signal, double rate, std::size_t from,
                               std::size_t to)
{
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i)
        if (signal[i - 1] < 0.0f && signal[i] >= 0.0f)
            ++crossings;
    return crossings * rate / static_cast<double>(to - from);
}

// The root mean square of samples [from, to).
inline double Rms(const std::vector<float>& signal, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += signal[i] * signal[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

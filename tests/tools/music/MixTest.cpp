// The limiter that keeps the finished track under its ceiling.
#include "music/Dsp.h"
#include "music/PeakLimiter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
float Peak(const SStereoBuffer& buffer, int64_t from, int64_t to)
{
    float peak = 0.0f;
    for (int64_t i = from; i < to; ++i)
        peak = std::max({peak, std::fabs(buffer.m_Left[i]), std::fabs(buffer.m_Right[i])});
    return peak;
}

// Noise with a few loud spikes: what a limiter meets in a mix with drums.
SStereoBuffer NoiseWithSpikes(int64_t samples)
{
    CRandom random(7);
    SStereoBuffer buffer(samples);
    for (int64_t i = 0; i < samples; ++i)
    {
        buffer.m_Left[i] = 0.2f * random.Bipolar();
        buffer.m_Right[i] = 0.2f * random.Bipolar();
    }
    for (int64_t spike = kSampleRate / 4; spike < samples; spike += kSampleRate)
        buffer.m_Left[spike] = buffer.m_Right[spike + 1] = 1.5f;
    return buffer;
}
}

TEST(PeakLimiter, NoSampleAboveTheCeilingAndQuietPartsUntouched)
{
    const SStereoBuffer input = NoiseWithSpikes(3 * kSampleRate);
    const CPeakLimiter limiter(0.5f, 0.003, 0.1);
    SStereoBuffer output;
    limiter.Process(input, 2.0f, output);
    ASSERT_EQ(output.GetSize(), input.GetSize());
    EXPECT_LE(Peak(output, 0, output.GetSize()), 0.5f);
    // Long after a spike (nine release times) the gain is back to the one asked for.
    const int64_t calm = kSampleRate / 4 + 9 * kSampleRate / 10;
    EXPECT_NEAR(output.m_Left[calm], 2.0f * input.m_Left[calm], 1e-3f);
    // A signal under the ceiling only gets the gain.
    limiter.Process(input, 0.25f, output);
    for (int64_t i = 0; i < output.GetSize(); i += 97)
        ASSERT_FLOAT_EQ(output.m_Right[i], 0.25f * input.m_Right[i]) << i;
}

#include "TestMp3.h"

#include "music/Mp3Encoder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

std::string WriteTestMp3(const std::string& name, int sampleRate, int channels, int frameCount)
{
    std::vector<float> samples(static_cast<size_t>(frameCount) * channels);
    for (int i = 0; i < frameCount; ++i)
        for (int c = 0; c < channels; ++c)
        {
            const double hz = c == 0 ? kLeftHz : kRightHz;
            samples[static_cast<size_t>(i) * channels + c] =
                static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * hz * i / sampleRate));
        }
    std::vector<uint8_t> mp3;
    std::string error;
    EXPECT_TRUE(EncodeMp3(samples, sampleRate, channels, 4.0f, mp3, error)) << error;
    const std::string path = testing::TempDir() + name;
    WriteFile(path, std::string(mp3.begin(), mp3.end()));
    return path;
}

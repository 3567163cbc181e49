#include "brovell/capture/CaptureProgress.h"
#include "brovell/capture/WavFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace
{
uint32_t ReadLittleEndian(const std::string& bytes, std::size_t at, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}
}

// The file holds exactly the asked-for stretch, clamped to the audio, with a header that
// says so.
TEST(CaptureOutputTest, WaveFileHoldsTheStretchAskedFor)
{
    SPcmAudio audio;
    audio.m_SampleRate = 8000;
    audio.m_Channels = 2;
    for (int16_t i = 0; i < 200; ++i)
        audio.m_Samples.push_back(static_cast<int16_t>(i * 100 - 10000));
    const std::string folder = MakeScratchFolder("capture_test");
    const std::string path = folder + "/stretch.wav";
    for (const auto& [first, count, expected] :
         {std::tuple<uint64_t, uint64_t, uint64_t>{10, 20, 20}, {90, 50, 10}, {500, 5, 0}})
    {
        std::string error;
        ASSERT_TRUE(WriteWavFile(path, audio, first, count, error)) << error;
        const std::string bytes = ReadFile(path);
        ASSERT_EQ(bytes.size(), 44 + expected * 4);
        EXPECT_EQ(std::memcmp(bytes.data(), "RIFF", 4), 0);
        EXPECT_EQ(ReadLittleEndian(bytes, 4, 4), 36 + expected * 4);
        EXPECT_EQ(ReadLittleEndian(bytes, 22, 2), 2u);
        EXPECT_EQ(ReadLittleEndian(bytes, 24, 4), 8000u);
        EXPECT_EQ(ReadLittleEndian(bytes, 40, 4), expected * 4);
        if (expected > 0)
        {
            EXPECT_EQ(static_cast<int16_t>(ReadLittleEndian(bytes, 44, 2)), audio.m_Samples[first * 2]);
        }
    }
    std::string error;
    EXPECT_FALSE(WriteWavFile(folder + "/no-such-folder/x.wav", audio, 0, 1, error));
    EXPECT_NE(error.find("no-such-folder/x.wav"), std::string::npos) << error;
}

TEST(CaptureOutputTest, ProgressSaysFramesSceneRateAndTimeLeft)
{
    EXPECT_EQ(FormatCaptureProgress(1200, 13200, "Balls", 100.0),
              "capture: 1200/13200 frames (9.1%), Balls, 12.0 fps, 16:40 left");
    EXPECT_EQ(FormatCaptureProgress(0, 440, "", 0.0), "capture: 0/440 frames (0.0%), -, 0.0 fps, --:-- left");
}

#include "platform/audio/Mp3Decoder.h"

#include "TestMp3.h"
#include "support/SignalMeasures.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Mp3Decoder, DecodesFormatExactLengthAndContent)
{
    struct SCase
    {
        int m_Rate;
        int m_Channels;
        int m_Frames;
    };
    // Lengths that are no multiple of the MP3 frame size, so the gapless trim is exercised.
    for (const SCase& c : {SCase{44100, 2, 88200 + 333}, SCase{22050, 1, 30001}, SCase{48000, 2, 12345}})
    {
        SCOPED_TRACE(testing::Message() << c.m_Rate << " Hz, " << c.m_Channels << " channel(s)");
        const std::string path = WriteTestMp3("decode.mp3", c.m_Rate, c.m_Channels, c.m_Frames);
        SPcmAudio audio;
        std::string error;
        ASSERT_TRUE(DecodeMp3File(path, audio, error)) << error;
        EXPECT_EQ(audio.m_SampleRate, c.m_Rate);
        EXPECT_EQ(audio.m_Channels, c.m_Channels);
        EXPECT_EQ(audio.GetFrameCount(), static_cast<uint64_t>(c.m_Frames));
        EXPECT_EQ(audio.GetByteCount(), static_cast<uint64_t>(c.m_Frames) * c.m_Channels * 2);
        // Each channel keeps its own tone, at about the encoded level (0.5 / sqrt 2).
        // The tone is measured 0.1 s away from either end.
        for (int channel = 0; channel < c.m_Channels; ++channel)
        {
            std::vector<float> signal;
            for (std::size_t i = channel; i < audio.m_Samples.size(); i += c.m_Channels)
                signal.push_back(audio.m_Samples[i] / 32768.0f);
            const std::size_t margin = c.m_Rate / 10;
            EXPECT_NEAR(MeasureFrequency(signal, c.m_Rate, margin, signal.size() - margin),
                        channel == 0 ? kLeftHz : kRightHz, 5.0);
            EXPECT_NEAR(Rms(signal, 0, signal.size()), 0.3536, 0.03);
        }
    }
}

TEST(Mp3Decoder, BrokenOrMissingFilesFailWithTheirName)
{
    const std::string folder = testing::TempDir();
    WriteFile(folder + "empty.mp3", "");
    WriteFile(folder + "text.mp3", std::string(5000, 'a') + "this is no MPEG audio at all\n");
    // A real track cut off inside its header frame.
    const std::string whole = WriteTestMp3("whole.mp3", 44100, 2, 44100);
    WriteFile(folder + "cut.mp3", ReadFile(whole).substr(0, 64));

    for (const char* name : {"missing.mp3", "empty.mp3", "text.mp3", "cut.mp3"})
    {
        SCOPED_TRACE(name);
        const std::string path = folder + name;
        SPcmAudio audio;
        audio.m_Samples.assign(10, 1); // stale content must not survive a failure
        std::string error;
        EXPECT_FALSE(DecodeMp3File(path, audio, error));
        EXPECT_NE(error.find("\"" + path + "\""), std::string::npos) << error;
        EXPECT_TRUE(audio.m_Samples.empty());
        EXPECT_EQ(audio.GetFrameCount(), 0u);
    }
}

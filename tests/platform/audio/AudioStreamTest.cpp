#include "platform/audio/AudioSystem.h"

#include "TestMp3.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{
// Plays a 0.4 s stereo track to its end and checks the position on the way.
void CheckPositionFollowsPlayback(CAudioStream& stream)
{
    const uint64_t length = stream.GetLength();
    ASSERT_EQ(length, 17640u * 4);
    // Nothing is heard before Play.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(stream.GetPosition(), 0u);

    stream.Play();
    stream.Play(); // a second Play goes on, it does not restart
    uint64_t previous = 0;
    bool moved = false;
    const bool ended = WaitFor([&] {
        const uint64_t position = stream.GetPosition();
        EXPECT_GE(position, previous);
        EXPECT_LE(position, length);
        EXPECT_EQ(position % 4, 0u);
        moved = moved || (position > 0 && position < length);
        previous = position;
        return position == length;
    });
    EXPECT_TRUE(ended) << "stopped at " << previous << " of " << length;
    EXPECT_TRUE(moved) << "the position jumped straight to the end";
    // At the end it stays there.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(stream.GetPosition(), length);
    EXPECT_DOUBLE_EQ(stream.BytesToSeconds(length), 0.4);
}

class AudioStream : public testing::Test
{
protected:
    void SetUp() override { m_Track = WriteTestMp3("stream.mp3", 44100, 2, 17640); }
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }

    std::string m_Track;
};
}

// On the dummy device, and silently on a real-time clock when no output opens.
TEST_F(AudioStream, PositionFollowsWhatIsPlayedWithOrWithoutADevice)
{
    for (const bool device : {true, false})
    {
        SCOPED_TRACE(device ? "device" : "no device");
        setenv("SDL_AUDIODRIVER", device ? "dummy" : "no-such-driver", 1);
        CAudioSystem audio;
        testing::internal::CaptureStderr();
        EXPECT_EQ(audio.Init(), device);
        CAudioStream* stream = audio.CreateStream(m_Track);
        const std::string said = testing::internal::GetCapturedStderr();
        if (!device)
        {
            EXPECT_NE(said.find("[CAudioSystem::Init] No audio output"), std::string::npos) << said;
            EXPECT_NE(said.find("plays silently on a real-time clock"), std::string::npos) << said;
        }
        ASSERT_NE(stream, nullptr);
        EXPECT_EQ(stream->IsSilent(), !device);
        CheckPositionFollowsPlayback(*stream);
        delete stream;
        audio.Free();
    }
}

TEST_F(AudioStream, StartsPartWayAndSilentOnRequest)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    CAudioSystem audio;
    ASSERT_TRUE(audio.Init());
    testing::internal::CaptureStderr();
    CAudioStream* late = audio.CreateStream(m_Track, 0.25, true);
    testing::internal::GetCapturedStderr();
    ASSERT_NE(late, nullptr);
    EXPECT_TRUE(late->IsSilent());
    // The skipped quarter second counts as heard; the track keeps its length.
    EXPECT_EQ(late->GetPosition(), 11025u * 4u);
    EXPECT_EQ(late->GetLength(), 17640u * 4);
    late->Play();
    EXPECT_GE(late->BytesToSeconds(late->GetPosition()), 0.25);
    // A start past the end leaves nothing to play: the position stays at the end.
    CAudioStream* over = audio.CreateStream(m_Track, 99.0, true);
    ASSERT_NE(over, nullptr);
    EXPECT_EQ(over->GetPosition(), over->GetLength());
    delete over;
    delete late;
    audio.Free();
}

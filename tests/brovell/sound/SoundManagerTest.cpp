#include "brovell/sound/SoundManager.h"

#include "TestMp3.h"
#include "kelvo/gpu/ResourceManager.h"
#include "platform/audio/AudioStream.h"
#include "support/CaptureStderr.h"
#include "support/TestFiles.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace
{
// A data folder of its own with two short tracks and a file that is no MP3, registered once.
class SoundManagerTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // The tracks are written beside the folder, under its unique name, then moved in.
        const std::filesystem::path folder = MakeScratchFolder("sound_test");
        const std::string unique = folder.filename().string();
        std::filesystem::rename(WriteTestMp3(unique + "_stereo.mp3", 44100, 2, 44100 * 2),
                                folder / "stereo_tone.mp3");
        std::filesystem::rename(WriteTestMp3(unique + "_mono.mp3", 22050, 1, 22050),
                                folder / "mono_tone.mp3");
        WriteFile(folder / "not_music.mp3", "plain text, no MPEG frames in here\n");
        CResourceManager::Instance().ScanDirectory(folder.string());
    }
};

// The position once it has passed the given seconds, or after WaitFor gave up.
double WaitPast(const CSoundManager& sound, double seconds)
{
    WaitFor([&] { return sound.GetPositionSeconds() > seconds; });
    return sound.GetPositionSeconds();
}
}

TEST_F(SoundManagerTest, PlaysATrackByBareNameAndItsPositionAdvances)
{
    {
        CSoundManager sound;
        EXPECT_EQ(g_pSoundManager, &sound);
    }
    EXPECT_EQ(g_pSoundManager, nullptr);
    CSoundManager sound;
    EXPECT_EQ(sound.GetStream(), nullptr);
    EXPECT_EQ(sound.GetPositionSeconds(), 0.0);
    ASSERT_TRUE(sound.PlayFile("stereo_tone.mp3"));
    ASSERT_NE(sound.GetStream(), nullptr);
    // Two seconds of stereo 16-bit audio, within one MP3 frame.
    EXPECT_NEAR(static_cast<double>(sound.GetStream()->GetLength()), 44100.0 * 2 * 4, 1152.0 * 4);
    const double early = WaitPast(sound, 0.0);
    const double later = WaitPast(sound, early);
    EXPECT_GT(early, 0.0);
    EXPECT_GT(later, early);
    EXPECT_LE(later, 2.0);
}

TEST_F(SoundManagerTest, ASecondTrackReplacesTheFirst)
{
    CSoundManager sound;
    ASSERT_TRUE(sound.PlayFile("stereo_tone.mp3"));
    // Past the second track's whole length, so its position can only be lower.
    const double firstTrack = WaitPast(sound, 1.0);
    ASSERT_GT(firstTrack, 1.0);
    ASSERT_TRUE(sound.PlayFile("mono_tone.mp3"));
    // The new stream is the mono one and starts from its beginning.
    EXPECT_NEAR(static_cast<double>(sound.GetStream()->GetLength()), 22050.0 * 2, 576.0 * 2);
    EXPECT_LT(sound.GetPositionSeconds(), firstTrack);
    EXPECT_GT(WaitPast(sound, 0.0), 0.0);
}

TEST_F(SoundManagerTest, ANameThatDoesNotResolveOrDecodeLeavesNoStream)
{
    CSoundManager sound;
    ASSERT_TRUE(sound.PlayFile("stereo_tone.mp3"));
    const std::string missing = CaptureStderr([&] { EXPECT_FALSE(sound.PlayFile("missing_track.mp3")); });
    EXPECT_EQ(sound.GetStream(), nullptr);
    EXPECT_EQ(sound.GetPositionSeconds(), 0.0);
    EXPECT_NE(missing.find("[CSoundManager::PlayFile] CAudioSystem::CreateStream Failed!"),
              std::string::npos);

    const std::string broken = CaptureStderr([&] { EXPECT_FALSE(sound.PlayFile("not_music.mp3")); });
    EXPECT_EQ(sound.GetStream(), nullptr);
    EXPECT_NE(broken.find("not_music.mp3"), std::string::npos) << broken;
}

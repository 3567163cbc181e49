#include "brovell/demo/DemoTimeline.h"

#include "FakeScene.h"
#include "support/CaptureStderr.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
// Music whose position the test sets.
class CFakeMusic final : public IMusicPlayer
{
public:
    bool PlayFile(const std::string& name) override
    {
        m_Played.push_back(name);
        return m_Plays;
    }
    double GetPositionSeconds() const override { return m_Seconds; }

    std::vector<std::string> m_Played;
    double m_Seconds = 0.0;
    bool m_Plays = true;
};

// The process end, made visible: the timeline's exit throws it out of Frame.
struct SExited
{
    int m_Code;
};
void ThrowExit(int code)
{
    throw SExited{code};
}

// Three windows like the show's first three; the walker's placements are recorded.
class CTestTimeline : public CDemoTimeline
{
public:
    CTestTimeline(CFakeMusic& music, CFakeScene* loader, const std::string& statsPath)
        : CDemoTimeline(MakeSetup(music, loader, statsPath))
    {
    }

    CFakeScene& Scene(size_t i) const { return *static_cast<CFakeScene*>(GetEntries()[i].m_Scene); }

    std::vector<SMatrix> m_Placements;

protected:
    void PlaceWalker(const SMatrix& local) override { m_Placements.push_back(local); }

private:
    static SDemoSetup MakeSetup(CFakeMusic& music, CFakeScene* loader, const std::string& statsPath)
    {
        SDemoSetup setup;
        setup.m_Entries = {{"Image", 1.0f, 0.0f, 22.6f, new CFakeScene},
                           {"Intro", 1.0f, 22.6f, 53.4f, new CFakeScene},
                           {"End", 1.0f, 53.4f, 60.0f, new CFakeScene}};
        setup.m_Loader = loader;
        setup.m_Music = &music;
        setup.m_StatsPath = statsPath;
        setup.m_Exit = &ThrowExit;
        return setup;
    }
};

class DemoTimelineTest : public testing::Test
{
protected:
    // Runs one frame at music position seconds; true when the timeline ended the process.
    bool FrameAt(double seconds)
    {
        m_Music.m_Seconds = seconds;
        try
        {
            m_Timeline.Frame();
        }
        catch (const SExited& exited)
        {
            m_ExitCode = exited.m_Code;
            return true;
        }
        return false;
    }

    std::string m_StatsPath = MakeScratchFolder("timeline_test") + "/stats.txt";
    int m_ExitCode = -1;
    CFakeMusic m_Music;
    CFakeScene* m_Loader = new CFakeScene;
    CTestTimeline m_Timeline{m_Music, m_Loader, m_StatsPath};
};
}

TEST_F(DemoTimelineTest, LoaderCountsResourcesUntilTheFirstFrameLoadsEverySceneAndStartsATrack)
{
    m_Timeline.OnLoadResource();
    m_Timeline.OnLoadResource();
    ASSERT_EQ(m_Loader->m_Times.size(), 2u);
    EXPECT_FLOAT_EQ(m_Loader->m_Times[0], 1.0f / 26.0f);
    EXPECT_FLOAT_EQ(m_Loader->m_Times[1], 2.0f / 26.0f);

    ASSERT_FALSE(FrameAt(0.0));
    EXPECT_TRUE(m_Timeline.IsStarted());
    EXPECT_EQ(m_Loader->m_Loads, 1);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(m_Timeline.Scene(i).m_Loads, 1);
    ASSERT_EQ(m_Music.m_Played.size(), 1u);
    const std::string& track = m_Music.m_Played[0];
    EXPECT_TRUE(track == "velrin.mp3" || track == "ostyn.mp3" || track == "maruvel.mp3") << track;
    // Later frames and resources load, count and play nothing more.
    m_Timeline.OnLoadResource();
    EXPECT_EQ(m_Loader->m_Times.size(), 2u);
    ASSERT_FALSE(FrameAt(0.1));
    EXPECT_EQ(m_Timeline.Scene(0).m_Loads, 1);
    EXPECT_EQ(m_Music.m_Played.size(), 1u);
}

TEST_F(DemoTimelineTest, AnEntrysEndBelongsToTheNextEntryAndOnlyASceneWithACameraMovesTheWalker)
{
    m_Timeline.Scene(1).m_HasCamera = true;
    m_Timeline.Scene(1).m_Camera.m[12] = 7.0f;
    ASSERT_FALSE(FrameAt(5.0));
    EXPECT_TRUE(m_Timeline.m_Placements.empty());
    ASSERT_FALSE(FrameAt(22.6f));
    ASSERT_FALSE(FrameAt(30.0));
    ASSERT_EQ(m_Timeline.Scene(0).m_Times, std::vector<float>{5.0f});
    // 22.6 as a float is the first entry's end: it starts the second window at local time 0.
    ASSERT_EQ(m_Timeline.Scene(1).m_Times.size(), 2u);
    EXPECT_EQ(m_Timeline.Scene(1).m_Times[0], 0.0f);
    EXPECT_FLOAT_EQ(m_Timeline.Scene(1).m_Times[1], 30.0f - 22.6f);
    EXPECT_TRUE(m_Timeline.Scene(2).m_Times.empty());
    EXPECT_EQ(m_Timeline.Scene(0).GetFrameCount(), 1u);
    EXPECT_EQ(m_Timeline.Scene(1).GetFrameCount(), 2u);
    ASSERT_EQ(m_Timeline.m_Placements.size(), 2u);
    EXPECT_EQ(m_Timeline.m_Placements[1].m[12], 7.0f);
}

TEST_F(DemoTimelineTest, PassingTheLastEndWritesTheStatsWithWindowsLineEnds)
{
    ASSERT_FALSE(FrameAt(1.0));
    ASSERT_FALSE(FrameAt(2.0));
    ASSERT_FALSE(FrameAt(30.0));
    ASSERT_FALSE(FrameAt(59.99));
    EXPECT_TRUE(FrameAt(60.0));
    EXPECT_EQ(m_ExitCode, 0);
    // No scene runs on the frame that ends the show.
    EXPECT_EQ(m_Timeline.Scene(2).GetFrameCount(), 1u);
    char expected[256];
    std::snprintf(expected, sizeof(expected), "Image fps: %f\r\nIntro fps: %f\r\nEnd fps: %f\r\n",
                  2.0f / 22.6f, 1.0f / (53.4f - 22.6f), 1.0f / (60.0f - 53.4f));
    EXPECT_EQ(ReadFile(m_StatsPath), expected);
}

TEST_F(DemoTimelineTest, TheTwentySecondUnchangedFrameEndsTheShow)
{
    ASSERT_FALSE(FrameAt(3.0));
    for (int unchanged = 1; unchanged <= 21; ++unchanged)
        ASSERT_FALSE(FrameAt(3.0)) << "ended after " << unchanged << " unchanged frames";
    // A moving position resets the count.
    ASSERT_FALSE(FrameAt(3.5));
    for (int unchanged = 1; unchanged <= 21; ++unchanged)
        ASSERT_FALSE(FrameAt(3.5));
    EXPECT_TRUE(FrameAt(3.5));
    EXPECT_EQ(m_ExitCode, 0);
    EXPECT_EQ(m_Timeline.Scene(0).GetFrameCount(), 44u);
    EXPECT_EQ(ReadFile(m_StatsPath).rfind("Image fps: ", 0), 0u);
}

TEST_F(DemoTimelineTest, MusicThatCannotStartEndsTheShowAsAFailure)
{
    m_Music.m_Plays = false;
    for (int frame = 0; frame < 22; ++frame)
        ASSERT_FALSE(FrameAt(0.0));
    EXPECT_TRUE(FrameAt(0.0));
    EXPECT_EQ(m_ExitCode, 1);
    EXPECT_EQ(ReadFile(m_StatsPath).rfind("Image fps: ", 0), 0u);
}

TEST(DemoStats, AFileThatCannotBeCreatedStillEndsTheProcess)
{
    CFakeMusic music;
    CTestTimeline timeline(music, nullptr, MakeScratchFolder("timeline_test") + "/no_such_folder/stats.txt");
    music.m_Seconds = 60.0;
    EXPECT_NE(CaptureStderr([&] { EXPECT_THROW(timeline.Frame(), SExited); }).find("Cannot write"),
              std::string::npos);
}

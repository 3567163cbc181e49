#include "brovell/options/ProgramOptions.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace
{
bool Parse(const std::vector<const char*>& arguments, SProgramOptions& options, std::string& error)
{
    std::vector<const char*> argv = {"brovell"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return ParseProgramOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}
}

TEST(ProgramOptionsTest, ReadsWhatViewersAndCapturesAskFor)
{
    SProgramOptions options;
    std::string error;
    ASSERT_TRUE(Parse({}, options, error));
    EXPECT_EQ(options.m_Action, SProgramOptions::EAction::Play);
    EXPECT_FALSE(options.m_Windowed || options.m_Mute || options.m_Vsync);

    ASSERT_TRUE(
        Parse({"--windowed", "--size", "800x600", "--vsync", "--mute", "--start", "160.5"}, options, error));
    EXPECT_EQ(options.m_Action, SProgramOptions::EAction::Play);
    EXPECT_TRUE(options.m_Windowed && options.m_Vsync && options.m_Mute);
    EXPECT_EQ(std::make_pair(options.m_Width, options.m_Height), std::make_pair(800u, 600u));
    EXPECT_DOUBLE_EQ(options.m_StartSeconds, 160.5);

    // A capture defaults to 1920x1080 at 60 frames per second.
    ASSERT_TRUE(Parse({"--capture", "show.mp4", "--track", "ostyn.mp3"}, options, error));
    EXPECT_EQ(options.m_Action, SProgramOptions::EAction::Capture);
    EXPECT_EQ(options.m_VideoPath, "show.mp4");
    EXPECT_EQ(options.m_Track, "ostyn.mp3");
    EXPECT_EQ(std::make_pair(options.m_Width, options.m_Height), std::make_pair(1920u, 1080u));
    EXPECT_EQ(options.m_FramesPerSecond, 60u);
    // A capture traces the whole picture unless a share is given; playing lets it vary.
    EXPECT_EQ(options.m_TraceScale, 1.0f);
    ASSERT_TRUE(Parse({"--frames", "out", "--trace-scale", "0.5"}, options, error));
    EXPECT_EQ(options.m_TraceScale, 0.5f);
    ASSERT_TRUE(Parse({"--windowed"}, options, error));
    EXPECT_EQ(options.m_TraceScale, 0.0f);

    // Pictures may have odd sizes; a video may not.
    EXPECT_TRUE(Parse({"--frames", "out", "--size", "321x241", "--fps", "2"}, options, error));
    ASSERT_TRUE(Parse({"--help"}, options, error));
    EXPECT_EQ(options.m_Action, SProgramOptions::EAction::Help);
    EXPECT_TRUE(Parse({"--version"}, options, error));
    EXPECT_EQ(options.m_Action, SProgramOptions::EAction::Version);
}

TEST(ProgramOptionsTest, RefusesWithAMessageNamingTheOption)
{
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        {{"--bogus"}, "unknown option \"--bogus\""},
        {{"--size"}, "--size needs a value"},
        {{"--size", "800"}, "--size: \"800\" is not WIDTHxHEIGHT"},
        {{"--size", "800x0"}, "--size: \"800x0\""},
        {{"--start", "-3"}, "--start: \"-3\""},
        {{"--start", "nan"}, "--start: \"nan\""},
        {{"--fps", "0"}, "--fps: \"0\""},
        {{"--trace-scale", "0.2"}, "--trace-scale: \"0.2\""},
        {{"--trace-scale", "1.5"}, "--trace-scale: \"1.5\""},
        {{"--fps", "12x"}, "--fps: \"12x\""},
        {{"--capture", ""}, "--capture needs a non-empty value"},
        {{"--capture", "a.mp4", "--frames", "dir"}, "cannot be used together"},
        {{"--capture", "a.mp4", "--size", "321x240"}, "even width and height"},
        {{"--frames", "dir", "--size", "2560x1440"}, "at most 1920x1080"},
    };
    for (const auto& [arguments, expected] : cases)
    {
        SProgramOptions options;
        std::string error;
        EXPECT_FALSE(Parse(arguments, options, error)) << expected;
        EXPECT_NE(error.find(expected), std::string::npos) << "said: " << error << "\nexpected: " << expected;
    }
}

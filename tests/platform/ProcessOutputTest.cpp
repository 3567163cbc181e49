#include "platform/ProcessOutput.h"

#include <gtest/gtest.h>

namespace
{
bool RunShell(const std::string& script, platform::SProcessOutput& result, std::string& error,
              int timeoutMs = 60000)
{
    return platform::RunForOutput({"/bin/sh", "-c", script}, 64, timeoutMs, result, error);
}
}

TEST(ProcessOutputTest, OutputAndExitCodeComeBackAndRunawaysAreStopped)
{
    platform::SProcessOutput result;
    std::string error;
    ASSERT_TRUE(RunShell("printf 'mesh'; exit 3", result, error)) << error;
    EXPECT_EQ(std::string(result.m_Output.begin(), result.m_Output.end()), "mesh");
    EXPECT_EQ(result.m_ExitCode, 3);

    EXPECT_FALSE(RunShell("kill -SEGV $$", result, error));
    EXPECT_NE(error.find("crashed (signal 11"), std::string::npos) << error;
    EXPECT_FALSE(RunShell("head -c 100 /dev/zero", result, error));
    EXPECT_NE(error.find("wrote more than 64 bytes"), std::string::npos) << error;
    // A child that never ends is killed at the deadline, however long it would sleep.
    EXPECT_FALSE(RunShell("exec sleep 600", result, error, 100));
    EXPECT_NE(error.find("did not finish"), std::string::npos) << error;
    EXPECT_FALSE(platform::RunForOutput({"/nonexistent/program"}, 64, 1000, result, error));
    EXPECT_NE(error.find("cannot start \"/nonexistent/program\""), std::string::npos) << error;
}

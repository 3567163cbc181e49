#include "platform/ChildProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::CChildProcess;

// What is written reaches the program's standard input whole, and its exit code comes back.
TEST(ChildProcessTest, HandsDataToTheProgramAndReportsItsExitCode)
{
    const std::string out = testing::TempDir() + "child-output.bin";
    CChildProcess child;
    std::string error;
    ASSERT_TRUE(child.Start({"sh", "-c", "cat > '" + out + "'; exit 3"}, error)) << error;
    std::vector<char> data(3 * 1024 * 1024 + 17);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(child.Write(data.data(), data.size()));
    EXPECT_EQ(child.Finish(), 3);
    EXPECT_TRUE(ReadFile(out) == std::string(data.begin(), data.end()));
}

TEST(ChildProcessTest, MissingProgramAndClosedPipeAreReportedNotFatal)
{
    CChildProcess missing;
    std::string error;
    EXPECT_FALSE(missing.Start({"no-such-program-brovell"}, error));
    EXPECT_NE(error.find("\"no-such-program-brovell\" is not installed"), std::string::npos) << error;

    // A program that ends without reading: writing fails instead of ending the test.
    CChildProcess quitter;
    ASSERT_TRUE(quitter.Start({"true"}, error)) << error;
    std::vector<char> data(8 * 1024 * 1024);
    bool written = true;
    for (int i = 0; i < 8 && written; ++i)
        written = quitter.Write(data.data(), data.size());
    EXPECT_FALSE(written);
    EXPECT_EQ(quitter.Finish(), 0);
}

#include "platform/Log.h"
#include "support/CaptureStderr.h"

#include <string>

#include <gtest/gtest.h>

TEST(DebugLog, FormatsAndTruncatesSafely)
{
    EXPECT_EQ(CaptureStderr([] { DebugLog("[Test::Op] %d %s\n", 42, "ok"); }), "[Test::Op] 42 ok\n");

    // A message longer than the buffer is cut to the buffer less its terminator.
    const std::string longText(20000, 'x');
    const std::string written = CaptureStderr([&] { DebugLog("%s", longText.c_str()); });
    EXPECT_EQ(written.size(), kDebugLogBufferSize - 1);
    EXPECT_EQ(written, longText.substr(0, kDebugLogBufferSize - 1));
}

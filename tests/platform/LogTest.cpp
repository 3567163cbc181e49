#include "platform/Log.h"

#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace
{
// Runs body with standard error redirected into a pipe and returns what was written.
template <typename Body>
std::string CaptureStderr(Body body)
{
    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    int savedStderr = dup(STDERR_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[1]);
    body();
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    std::string text;
    char chunk[4096];
    ssize_t count;
    while ((count = read(pipeEnds[0], chunk, sizeof(chunk))) > 0)
        text.append(chunk, static_cast<size_t>(count));
    close(pipeEnds[0]);
    return text;
}
}

TEST(DebugLog, FormatsAndTruncatesSafely)
{
    EXPECT_EQ(CaptureStderr([] { DebugLog("[Test::Op] %d %s\n", 42, "ok"); }), "[Test::Op] 42 ok\n");

    // A message longer than the buffer is cut to the buffer less its terminator.
    const std::string longText(20000, 'x');
    const std::string written = CaptureStderr([&] { DebugLog("%s", longText.c_str()); });
    EXPECT_EQ(written.size(), kDebugLogBufferSize - 1);
    EXPECT_EQ(written, longText.substr(0, kDebugLogBufferSize - 1));
}

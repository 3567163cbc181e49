// Runs a piece of test code with standard error redirected into a pipe and returns what it
// wrote (the log goes to standard error). Meant for short output: the pipe is read afterwards.
#pragma once

#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

template <typename Body>
std::string CaptureStderr(Body body)
{
    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    const int savedStderr = dup(STDERR_FILENO);
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

#include "platform/ProcessOutput.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform
{
namespace
{
// Waits for the program and returns its exit code, or 128 + the signal that ended it.
int Reap(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

// Reads the pipe until the program closes it. False with the reason when the program has to
// be stopped: too much output or too long a run.
bool Drain(int input, std::size_t maxOutputBytes, int timeoutMs, std::vector<uint8_t>& output,
           std::string& outReason)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    uint8_t chunk[65536];
    for (;;)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
        {
            outReason = "did not finish within " + std::to_string(timeoutMs / 1000) + " s";
            return false;
        }
        pollfd ready = {input, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno != EINTR)
        {
            outReason = std::string("cannot read its output: ") + std::strerror(errno);
            return false;
        }
        if (polled <= 0)
            continue;
        const ssize_t count = read(input, chunk, sizeof(chunk));
        if (count == 0)
            return true;
        if (count < 0)
        {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            outReason = std::string("cannot read its output: ") + std::strerror(errno);
            return false;
        }
        if (output.size() + static_cast<std::size_t>(count) > maxOutputBytes)
        {
            outReason = "wrote more than " + std::to_string(maxOutputBytes) + " bytes";
            return false;
        }
        output.insert(output.end(), chunk, chunk + count);
    }
}
}

bool RunForOutput(const std::vector<std::string>& arguments, std::size_t maxOutputBytes, int timeoutMs,
                  SProcessOutput& outResult, std::string& outError)
{
    outResult = SProcessOutput();
    if (arguments.empty())
    {
        outError = "nothing to start";
        return false;
    }
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
    {
        outError = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (started != 0)
    {
        close(pipeEnds[0]);
        outError = "cannot start \"" + arguments[0] + "\": " + std::strerror(started);
        return false;
    }
    std::string reason;
    const bool drained = Drain(pipeEnds[0], maxOutputBytes, timeoutMs, outResult.m_Output, reason);
    close(pipeEnds[0]);
    if (!drained)
        kill(pid, SIGKILL);
    outResult.m_ExitCode = Reap(pid);
    if (!drained)
    {
        outError = "\"" + arguments[0] + "\" was stopped: it " + reason;
        return false;
    }
    if (outResult.m_ExitCode > 128)
    {
        const int signal = outResult.m_ExitCode - 128;
        outError = "\"" + arguments[0] + "\" crashed (signal " + std::to_string(signal) + ", " +
                   strsignal(signal) + ")";
        return false;
    }
    return true;
}
}

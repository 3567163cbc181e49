#include "platform/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform
{
CChildProcess::~CChildProcess()
{
    Finish();
}

bool CChildProcess::Start(const std::vector<std::string>& arguments, std::string& error)
{
    if (arguments.empty() || m_Pid != -1)
    {
        error = "nothing to start";
        return false;
    }
    // A program that goes away must not end this process with SIGPIPE: writes fail instead.
    std::signal(SIGPIPE, SIG_IGN);
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
    {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int result = posix_spawnp(&m_Pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[0]);
    if (result != 0)
    {
        close(pipeEnds[1]);
        m_Pid = -1;
        error = result == ENOENT ? "\"" + arguments[0] + "\" is not installed (not found on PATH)"
                                 : "cannot start \"" + arguments[0] + "\": " + std::strerror(result);
        return false;
    }
    m_Input = pipeEnds[1];
    return true;
}

bool CChildProcess::Write(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0 && m_Input != -1)
    {
        const ssize_t written = write(m_Input, bytes, size);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return size == 0;
}

int CChildProcess::Finish()
{
    if (m_Input != -1)
    {
        close(m_Input);
        m_Input = -1;
    }
    if (m_Pid == -1)
        return -1;
    int status = 0;
    while (waitpid(m_Pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    m_Pid = -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}
}

// Helpers of the task system tests.
#pragma once

#include "kelvo/tasks/Task.h"

#include <atomic>
#include <functional>
#include <string>
#include <unistd.h>

// A task that runs a function and counts its own destruction.
class CFunctionTask : public ITask
{
public:
    explicit CFunctionTask(std::function<void(ITask&)> body, std::atomic<int>* destroyedCount = nullptr)
        : m_Body(std::move(body))
        , m_DestroyedCount(destroyedCount)
    {
    }
    ~CFunctionTask() override
    {
        if (m_DestroyedCount)
            ++*m_DestroyedCount;
    }

    std::string GetName() const override { return "CFunctionTask"; }
    void Run() override { m_Body(*this); }

private:
    std::function<void(ITask&)> m_Body;
    std::atomic<int>* m_DestroyedCount;
};

// Runs body with standard error redirected into a pipe and returns what was written.
template <typename Body>
std::string CaptureStderr(Body body)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return "pipe failed";
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

// Helpers of the task system tests.
#pragma once

#include "kelvo/tasks/Task.h"
#include "support/CaptureStderr.h"

#include <atomic>
#include <functional>
#include <string>

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

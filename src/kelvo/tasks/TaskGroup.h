// A named queue of tasks with a priority (lower values are served first). Every field is
// guarded by the owning task manager's lock; the manager owns its groups.
#pragma once

#include "platform/Semaphore.h"

#include <cstdint>
#include <deque>
#include <string>

class ITask;

class CTaskGroup
{
public:
    CTaskGroup(const std::string& name, uint32_t priority)
        : m_Name(name)
        , m_Priority(priority)
    {
    }
    CTaskGroup(const CTaskGroup&) = delete;
    CTaskGroup& operator=(const CTaskGroup&) = delete;

    std::deque<ITask*> m_PendingTasks; // FIFO
    const std::string m_Name;
    const uint32_t m_Priority;
    uint32_t m_RunningCount = 0;                // taken out and not yet finished
    platform::CSemaphore m_IdleSemaphore{0, 1}; // released when the group drains
};

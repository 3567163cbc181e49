// The parallel update queue of the object tree: the main thread adds (object, logic kind)
// pairs, four tasks in the task group "Default" run them as they arrive, and Wait ends the
// cycle once every added update has run. The order of the updates within a cycle is not
// defined. Add and Wait are called from one thread (the main thread).
//
// The queue is a lock-free stack of nodes that are recycled through a free-node stack, so
// a steady state allocates nothing. Its tasks touch it until their workers let go of them,
// so it is destroyed after its task manager (as static objects built before it are).
#pragma once

#include "kelvo/tasks/UpdateManagerTask.h"
#include "platform/LockFreeStack.h"
#include "platform/Semaphore.h"

#include <array>
#include <atomic>
#include <cstdint>

class CTaskManager;
class ILogicUpdate;

class CUpdateManager
{
public:
    static constexpr int kTaskCount = 4;

    // Only stores taskManager: the two may be static objects built in either order.
    explicit CUpdateManager(CTaskManager* taskManager);
    ~CUpdateManager();
    CUpdateManager(const CUpdateManager&) = delete;
    CUpdateManager& operator=(const CUpdateManager&) = delete;

    // Queues object->Update(logicKind); the first Add of a cycle dispatches the tasks.
    void Add(ILogicUpdate* object, uint32_t logicKind);
    // Runs one queued update; false when the queue is empty.
    bool ProcessOne();
    // Ends the cycle: returns when every task has drained the queue (at once when nothing
    // was added since the last Wait).
    void Wait();
    bool IsStarted() const { return m_Started; }

private:
    friend struct SUpdateManagerTask;
    void SignalTaskDone() { m_CompletionSemaphore.Release(); }

    platform::CLockFreeStack m_FreeNodes;
    platform::CLockFreeStack m_WorkList;
    std::atomic<bool> m_Started{false};
    platform::CSemaphore m_CompletionSemaphore{0, kTaskCount};
    std::array<SUpdateManagerTask, kTaskCount> m_Tasks;
    CTaskManager* m_TaskManager;
};

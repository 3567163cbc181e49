// The worker pool: tasks are queued into named groups and run by the worker threads, the
// group with the lowest priority value first, each group in FIFO order. A caller may wait
// until a group has drained. Any thread may queue tasks; WaitGroup is called by a worker
// (which then helps to drain) or with null by any other thread.
//
// Workers sleep on one wake semaphore of maximum 1 and are woken one at a time: each
// AddTask wakes one, and each worker that takes a task wakes one more before running it.
// The manager lock is never held while a task runs or a thread waits, so tasks may call
// AddTask and WaitGroup freely. The destructor stops, wakes and joins the workers.
#pragma once

#include "platform/Section.h"
#include "platform/Semaphore.h"
#include "platform/Thread.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CTaskGroup;
class CTaskManagerThread;
class ITask;

class CTaskManager : public CSection, public CThread
{
public:
    // Starts threadCount workers and creates the group "Default" with priority 0.
    explicit CTaskManager(uint32_t threadCount);
    ~CTaskManager() override;

    // Creates the workers and the group "Default"; nothing when workers already exist.
    void StartThreads(uint32_t count);
    // Nothing when a group of that name exists already.
    void CreateGroup(const std::string& name, uint32_t priority);
    // The group or null; callers hold the lock.
    CTaskGroup* FindGroup(const std::string& name) const;

    // Queues task at the back of the named group; a task for a missing group is dropped
    // (neither run nor deleted).
    void AddTask(ITask* task, const std::string& groupName);
    // Waits until the named group has no queued and no running task; false at once when
    // there is no such group (or, for a worker, when the manager stops meanwhile). A worker
    // runs queued tasks of any group meanwhile and, when none is queued, waits on the group
    // like any other thread.
    bool WaitGroup(CTaskManagerThread* worker, const std::string& groupName);
    bool IsGroupIdle(CTaskGroup* group);

    // Worker side: take and run the front task of the first non-empty group (false when
    // there is none or the manager stops); sleep until woken.
    bool RunOneTask(CTaskManagerThread* worker);
    void WaitForWork(CTaskManagerThread* worker);
    // Wakes one sleeping worker when there is one.
    void Wake();
    // Marks one task of group finished; callers hold the lock.
    void FinishTask(CTaskGroup* group);
    void RemoveThread(CTaskManagerThread* worker);

    // True until the destructor stops the workers.
    bool IsRunning() const override;

protected:
    // The manager's own thread has nothing to do.
    uint32_t Run() override { return 0; }

private:
    bool HasPendingTask() const; // callers hold the lock

    std::atomic<int32_t> m_AwakeCount;
    std::map<std::string, CTaskGroup*> m_GroupsByName;
    std::vector<CTaskGroup*> m_GroupsByPriority; // ascending priority
    std::vector<CTaskManagerThread*> m_WorkerThreads;
    std::atomic<bool> m_Stop{false};
    platform::CSemaphore m_WakeSemaphore{0, 1};
};

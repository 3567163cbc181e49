#include "kelvo/tasks/TaskManager.h"

#include "kelvo/tasks/Task.h"
#include "kelvo/tasks/TaskGroup.h"
#include "kelvo/tasks/TaskManagerThread.h"
#include "platform/Log.h"

#include <algorithm>

CTaskManager::CTaskManager(uint32_t threadCount)
    : m_AwakeCount(static_cast<int32_t>(threadCount))
{
    StartThreads(threadCount);
}

CTaskManager::~CTaskManager()
{
    // Stop under the lock so that no worker takes a task afterwards; workers remove
    // themselves from the sequence as they leave, so join from a copy.
    std::vector<CTaskManagerThread*> workers;
    {
        CSectionLock lock(this);
        workers = m_WorkerThreads;
        m_Stop = true;
        // Workers waiting for a group inside a task wake, see the stop and give up.
        for (CTaskGroup* group : m_GroupsByPriority)
            group->m_IdleSemaphore.Release();
    }
    // One wake-up reaches every sleeper: each woken worker passes it on.
    m_WakeSemaphore.Release();
    for (CTaskManagerThread* worker : workers)
    {
        worker->Join();
        delete worker;
    }

    // Tasks that never ran are still the manager's to delete.
    for (CTaskGroup* group : m_GroupsByPriority)
    {
        for (ITask* task : group->m_PendingTasks)
        {
            if (task->GetDeleteAfterRun())
                delete task;
        }
        delete group;
    }
}

void CTaskManager::StartThreads(uint32_t count)
{
    CSectionLock lock(this);
    if (!m_WorkerThreads.empty())
        return;
    for (uint32_t i = 0; i < count; ++i)
    {
        auto* worker = new CTaskManagerThread(this);
        m_WorkerThreads.push_back(worker);
        if (!worker->Start())
        {
            // Wake-ups count only workers that exist.
            DebugLog("[CTaskManager::StartThreads] Failed to start a worker thread!\n");
            m_WorkerThreads.pop_back();
            delete worker;
            --m_AwakeCount;
        }
    }
    CreateGroup("Default", 0);
}

void CTaskManager::CreateGroup(const std::string& name, uint32_t priority)
{
    CSectionLock lock(this);
    if (FindGroup(name))
        return;
    auto* group = new CTaskGroup(name, priority);
    m_GroupsByPriority.push_back(group);
    m_GroupsByName[name] = group;
    std::stable_sort(m_GroupsByPriority.begin(), m_GroupsByPriority.end(),
                     [](const CTaskGroup* a, const CTaskGroup* b) { return a->m_Priority < b->m_Priority; });
}

CTaskGroup* CTaskManager::FindGroup(const std::string& name) const
{
    auto found = m_GroupsByName.find(name);
    return found == m_GroupsByName.end() ? nullptr : found->second;
}

void CTaskManager::AddTask(ITask* task, const std::string& groupName)
{
    task->SetRunningThread(nullptr);
    {
        CSectionLock lock(this);
        if (CTaskGroup* group = FindGroup(groupName))
            group->m_PendingTasks.push_back(task);
    }
    Wake();
}

bool CTaskManager::RunOneTask(CTaskManagerThread* worker)
{
    // Take the front task of the first non-empty group in priority order.
    CTaskGroup* group = nullptr;
    ITask* task = nullptr;
    {
        CSectionLock lock(this);
        if (!IsRunning())
            return false;
        auto found =
            std::find_if(m_GroupsByPriority.begin(), m_GroupsByPriority.end(),
                         [](const CTaskGroup* candidate) { return !candidate->m_PendingTasks.empty(); });
        if (found == m_GroupsByPriority.end())
            return false;
        group = *found;
        task = group->m_PendingTasks.front();
        group->m_PendingTasks.pop_front();
        ++group->m_RunningCount;
    }

    // Let another sleeping worker look for further tasks while this one runs.
    Wake();
    // Read before Run: the owner of a kept task may reuse or destroy it as soon as Run has
    // signalled that the work is done.
    const bool deleteAfterRun = task->GetDeleteAfterRun();
    try
    {
        task->SetRunningThread(worker);
        task->Run();
        if (deleteAfterRun)
            delete task;
    }
    catch (...)
    {
        DebugLog("[CTaskManager::RunOneTask] Task exception!\n");
    }

    CSectionLock lock(this);
    FinishTask(group);
    return true;
}

void CTaskManager::WaitForWork(CTaskManagerThread* /*worker*/)
{
    --m_AwakeCount;
    // Re-check after counting ourselves asleep: a task queued just before would otherwise
    // have found every worker counted awake and woken none.
    bool mustSleep;
    {
        CSectionLock lock(this);
        mustSleep = IsRunning() && !HasPendingTask();
    }
    if (mustSleep)
    {
        m_WakeSemaphore.Wait();
        // Pass a stop on so that every sleeping worker sees it.
        if (!IsRunning())
            m_WakeSemaphore.Release();
    }
    ++m_AwakeCount;
}

void CTaskManager::Wake()
{
    CSectionLock lock(this);
    if (m_AwakeCount < static_cast<int32_t>(m_WorkerThreads.size()))
        m_WakeSemaphore.Release();
}

bool CTaskManager::WaitGroup(CTaskManagerThread* worker, const std::string& groupName)
{
    CTaskGroup* group;
    {
        CSectionLock lock(this);
        group = FindGroup(groupName);
    }
    if (!group)
        return false;

    while (!IsGroupIdle(group))
    {
        // A worker runs queued tasks (of any group) instead of blocking on them.
        if (worker && RunOneTask(worker))
            continue;
        if (worker && !IsRunning())
        {
            group->m_IdleSemaphore.Release(); // pass the stop on to other waiters
            return false;
        }
        // Nothing queued: wait for the tasks that other threads are running.
        group->m_IdleSemaphore.Wait();
    }

    // Leave the semaphore signalled so that every other waiter on this group wakes and re-checks.
    group->m_IdleSemaphore.Release();
    if (worker)
        Wake();
    return true;
}

bool CTaskManager::IsGroupIdle(CTaskGroup* group)
{
    CSectionLock lock(this);
    return group->m_RunningCount == 0 && group->m_PendingTasks.empty();
}

void CTaskManager::FinishTask(CTaskGroup* group)
{
    --group->m_RunningCount;
    if (group->m_RunningCount == 0 && group->m_PendingTasks.empty())
        group->m_IdleSemaphore.Release();
    Wake();
}

void CTaskManager::RemoveThread(CTaskManagerThread* worker)
{
    CSectionLock lock(this);
    std::erase(m_WorkerThreads, worker);
}

bool CTaskManager::IsRunning() const
{
    return !m_Stop;
}

bool CTaskManager::HasPendingTask() const
{
    return std::any_of(m_GroupsByPriority.begin(), m_GroupsByPriority.end(),
                       [](const CTaskGroup* group) { return !group->m_PendingTasks.empty(); });
}

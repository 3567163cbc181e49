#include "kelvo/tasks/UpdateManagerTask.h"

#include "kelvo/tasks/UpdateManager.h"

#include <thread>

SUpdateManagerTask::SUpdateManagerTask(CUpdateManager* owner)
    : m_Owner(owner)
{
    SetDeleteAfterRun(false);
}

void SUpdateManagerTask::Run()
{
    while (m_Owner->ProcessOne())
    {
    }
    // Poll while the main thread may still add; yield rather than sleep when the queue is dry.
    while (m_Owner->IsStarted())
    {
        if (!m_Owner->ProcessOne())
            std::this_thread::yield();
    }
    // Updates added just before the cycle ended.
    while (m_Owner->ProcessOne())
    {
    }
    m_Owner->SignalTaskDone();
}

#include "kelvo/tasks/TaskManagerThread.h"

#include "kelvo/tasks/TaskManager.h"

uint32_t CTaskManagerThread::Run()
{
    while (m_Manager->IsRunning())
    {
        if (!m_Manager->RunOneTask(this))
            m_Manager->WaitForWork(this);
    }
    m_Manager->RemoveThread(this);
    return 0;
}

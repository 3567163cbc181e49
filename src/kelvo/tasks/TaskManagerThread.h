// One worker of a task manager: runs tasks while the manager runs and sleeps when there is
// no work. Created, started, joined and deleted by its manager.
#pragma once

#include "platform/Thread.h"

class CTaskManager;

class CTaskManagerThread : public CThread
{
public:
    explicit CTaskManagerThread(CTaskManager* manager)
        : m_Manager(manager)
    {
    }

    CTaskManager* GetManager() const { return m_Manager; }

protected:
    uint32_t Run() override;

private:
    CTaskManager* m_Manager;
};

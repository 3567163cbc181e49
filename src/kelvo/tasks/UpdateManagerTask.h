// One of the four tasks that work off the update manager's queue in parallel. Owned by its
// update manager and queued again every cycle, so it is never deleted after running.
#pragma once

#include "kelvo/tasks/Task.h"

class CUpdateManager;

struct SUpdateManagerTask : public ITask
{
    explicit SUpdateManagerTask(CUpdateManager* owner);

    std::string GetName() const override { return "CUpdateManager Task"; }
    // Runs queued updates until the owner's cycle has ended and the queue is empty, then
    // signals the owner once.
    void Run() override;

    CUpdateManager* m_Owner;
};

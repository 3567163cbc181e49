// A unit of work for the task manager. The manager owns a task from AddTask until it has
// run and then deletes it when its delete-after-run flag is set; otherwise the creator keeps
// it and may queue the same object again once it has run.
#pragma once

#include <string>

class CTaskManagerThread;

class ITask
{
public:
    ITask() = default;
    ITask(const ITask&) = default;
    ITask& operator=(const ITask&) = default;

    virtual std::string GetName() const = 0;
    virtual void Run() = 0;
    virtual ~ITask() = default;

    // The worker that runs the task: set just before Run, null while queued.
    CTaskManagerThread* GetRunningThread() const { return m_RunningThread; }
    void SetRunningThread(CTaskManagerThread* thread) { m_RunningThread = thread; }

    bool GetDeleteAfterRun() const { return m_DeleteAfterRun; }
    void SetDeleteAfterRun(bool deleteAfterRun) { m_DeleteAfterRun = deleteAfterRun; }

private:
    CTaskManagerThread* m_RunningThread = nullptr;
    bool m_DeleteAfterRun = true;
};

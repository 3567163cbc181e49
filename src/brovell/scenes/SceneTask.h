// The task that runs a scene's background work on a worker: UpdateAsync, then it clears the
// scene's pending flag. Owned by its scene and queued again each time (never deleted by the
// task manager).
#pragma once

#include "kelvo/tasks/Task.h"

#include <string>

class CScene;

class CSceneTask : public ITask
{
public:
    explicit CSceneTask(CScene* scene);

    std::string GetName() const override { return "CSceneTask"; }
    void Run() override;

private:
    CScene* m_Scene;
};

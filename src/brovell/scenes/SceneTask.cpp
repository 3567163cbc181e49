#include "brovell/scenes/SceneTask.h"

#include "brovell/scenes/Scene.h"

CSceneTask::CSceneTask(CScene* scene)
    : m_Scene(scene)
{
    SetDeleteAfterRun(false);
}

void CSceneTask::Run()
{
    m_Scene->UpdateAsync();
    m_Scene->m_TaskPending.store(false);
}

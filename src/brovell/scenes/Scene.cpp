#include "brovell/scenes/Scene.h"

#include "kelvo/tasks/TaskManager.h"

CScene::CScene()
    : m_Task(this)
{
}

bool CScene::GetCameraMatrix(SMatrix&) const
{
    return false;
}

void CScene::QueueTask(CTaskManager& taskManager)
{
    if (m_TaskPending.exchange(true))
        return;
    taskManager.AddTask(&m_Task, "Default");
}

// A stretch of the show. The timeline creates every scene once, has it load its resources
// during loading, then calls Frame with the scene-local time while the scene is current and
// counts the frames. A scene may hand the timeline a camera matrix for the walker, and may
// run background work on a worker through its scene task. Frame, LoadResources and
// GetCameraMatrix run on the main thread; UpdateAsync on a worker.
#pragma once

#include "brovell/scenes/SceneTask.h"
#include "kelvo/core/Math.h"

#include <atomic>
#include <cstdint>

class CTaskManager;

class CScene
{
public:
    CScene();
    virtual ~CScene() = default;
    CScene(const CScene&) = delete;
    CScene& operator=(const CScene&) = delete;

    // Copies the scene's camera matrix and returns true; false (nothing written) by default.
    virtual bool GetCameraMatrix(SMatrix& outMatrix) const;
    // Background work of a frame, on a worker; nothing by default.
    virtual void UpdateAsync() {}
    // Loads every texture and effect the scene will use.
    virtual void LoadResources() {}
    // The per-frame script: scene-local seconds (the loader gets its progress instead).
    virtual void Frame(float time) = 0;

    uint32_t GetFrameCount() const { return m_FrameCount; }
    void CountFrame() { ++m_FrameCount; }

    // Queues the scene task in the task group "Default" unless it is still queued.
    void QueueTask(CTaskManager& taskManager);
    bool IsTaskPending() const { return m_TaskPending.load(); }

private:
    friend class CSceneTask;

    CSceneTask m_Task;
    uint32_t m_FrameCount = 0;
    std::atomic<bool> m_TaskPending{false}; // set while queued; the task clears it after running
};

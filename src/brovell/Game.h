// The game: root of the world's object tree, owner of the world's per-frame order. One
// instance, held by the application window, reachable through g_pGame. Main thread only;
// its lock guards the replacement of the renderer and the engines it owns.
#pragma once

#include <cstdint>
#include <vector>

#include "kelvo/core/GameObject.h"
#include "kelvo/tasks/Section.h"

class C3DSpace;

class CGame : public CSection, public CGameObject
{
    KELVO_RTTI(CGame, CGameObject)

public:
    CGame();
    ~CGame() override;

    // One frame of the world: physics, object update, space refresh, demo, rendering.
    void Frame();

    void RequestQuit() { m_QuitRequested = true; }
    bool IsQuitRequested() const { return m_QuitRequested; }

    // The initial world: the camera rig, the car, the ground mesh and its object, and the
    // walker at (0, 0, 100) carrying the camera rig. Once, after the GPU backend is up.
    void CreateWorld();
    // Puts the object's C3DObjectLogic, if it has one, into the space.
    void AddToSpace(CGameObject* object);

    C3DSpace* GetSpace() const { return m_Space; }
    CGameObject* GetCameraObject() const { return m_CameraObject; }

private:
    void UpdatePressureEngine();
    void UpdateObjects();
    void RefreshSpace();
    void RunDemo();
    void RenderFrame();

    // The world's spatial index, owned.
    C3DSpace* m_Space;
    bool m_QuitRequested = false;
    CGameObject* m_CameraObject = nullptr;
    // Logic kinds updated through the worker threads, then those updated on this thread,
    // each in list order.
    std::vector<uint32_t> m_ParallelUpdateKinds;
    std::vector<uint32_t> m_SerialUpdateKinds;
};

extern CGame* g_pGame;

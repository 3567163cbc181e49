// The game: root of the world's object tree, owner of the world's per-frame order. One
// instance, held by the application window, reachable through g_pGame. Main thread only;
// its lock guards the replacement of the renderer and the engines it owns.
#pragma once

#include <cstdint>
#include <vector>

#include "brovell/demo/Harlune1.h"
#include "kelvo/core/GameObject.h"
#include "kelvo/render/GameRenderProcess.h"
#include "kelvo/render/GameView.h"
#include "platform/Section.h"

class C3DSpace;
class CKelvoRenderer;

class CGame : public CSection, public CGameObject, public IGameView
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
    // walker at (0, 0, 100) carrying the camera rig, handed to the demo. Once, after the GPU
    // backend is up.
    void CreateWorld();
    // Puts the object's C3DObjectLogic, if it has one, into the space.
    void AddToSpace(CGameObject* object);

    C3DSpace* GetSpace() const { return m_Space; }
    // Takes the renderer (owned from here on; a previous one is deleted), creates the
    // pressure engine with the first one, and makes the game render process current.
    void SetRenderer(CKelvoRenderer* renderer);
    // Deletes the pressure engine and the renderer while the GPU backend still runs.
    void Shutdown();
    // The world from the camera (the game render phase calls it); with left Control held,
    // the space's boxes too.
    void Render() override;

    CKelvoRenderer* GetRenderer() const { return m_Renderer; }
    CGameRenderProcess& GetRenderProcess() { return m_RenderProcess; }
    CGameObject* GetCameraObject() const override { return m_CameraObject; }
    CHarlune1& GetDemo() { return m_Demo; }

private:
    void UpdatePressureEngine();
    void UpdateObjects();
    void RefreshSpace();
    void RunDemo();
    void RenderFrame();

    CKelvoRenderer* m_Renderer = nullptr;
    // The world's spatial index, owned.
    C3DSpace* m_Space;
    bool m_QuitRequested = false;
    CGameObject* m_CameraObject = nullptr;
    // Logic kinds updated through the worker threads, then those updated on this thread,
    // each in list order.
    std::vector<uint32_t> m_ParallelUpdateKinds;
    std::vector<uint32_t> m_SerialUpdateKinds;
    CGameRenderProcess m_RenderProcess;
    CHarlune1 m_Demo;
};

extern CGame* g_pGame;

// The car in the wind tunnel: the tunnel's flow carries 20000 particles drawn as streaks
// around the world's car, seen through three camera keys. Each frame waits for the previous
// step, draws from its result and queues the next step on a worker, so the flow advances
// while the main thread renders. Frame and LoadResources run on the main thread,
// UpdateAsync on a worker.
#pragma once

#include "brovell/scenes/ParticleStreaks.h"
#include "brovell/scenes/Scene.h"
#include "brovell/windtunnel/WindTunnel.h"
#include "kelvo/gpu/GPUObjectHandle.h"

#include <atomic>

class CParticlesGroupObject;
class CTaskManager;
class CVar;

class CCarScene : public CScene
{
public:
    // The flow's time runs this much faster than the scene's.
    static constexpr float kFlowTimeScale = 800.0f;

    // Steps through the program's task manager.
    CCarScene();
    explicit CCarScene(CTaskManager& taskManager);
    ~CCarScene() override;

    bool GetCameraMatrix(SMatrix& outMatrix) const override;
    // One step of the tunnel at the time of the last frame.
    void UpdateAsync() override;
    // The car mesh, the tunnel from "car7b.ppm" (a file that cannot be used ends the process
    // with its message and exit code 1), the particle object and ten warm-up rounds.
    void LoadResources() override;
    void Frame(float time) override;

private:
    // The tunnel's particles as the heads of the streaks; reads the tunnel, so not while a
    // step runs.
    void TakeParticleHeads();
    // Streaks from the heads, handed to the particle group to draw.
    void DrawStreaks();
    void RunScript(float time);
    void SetCamera(const float key[12]);

    CTaskManager& m_TaskManager;
    // The tunnel's own generator: its steps draw on a worker while the main thread draws from
    // the program's.
    CRandom15 m_Random;
    CWindTunnel m_Tunnel;
    CParticleStreaks m_Streaks;
    // Hung in the game's tree, which deletes it; without a game the scene deletes it.
    CParticlesGroupObject* m_Particles = nullptr;
    bool m_OwnsParticles = false;
    GPUObjectHandle m_CarMesh;
    SMatrix m_Camera;
    std::atomic<float> m_Time{0.0f};
    CVar* m_CameraNoise = nullptr;
    bool m_CraneCaptured = false;
    SVector3 m_CraneStart{};
};

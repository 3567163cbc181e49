// The ray-traced loose balls: a simulation of balls on a metal floor pushed about by a gravity
// that swings from side to side, seen from a camera that jumps between fixed keys. Shares the
// juggler scene's camera, render process and frame pipeline; keeps its own script memory.
#pragma once

#include "brovell/scenes/JugglerScene.h"
#include "brovell/scenes/ScenePreload.h"

class CBallsScene : public CJugglerScene
{
public:
    // The program's tracer, task manager and script memory.
    CBallsScene();
    // A given tracer (may be null), task manager and memory, none of them owned.
    CBallsScene(ITracer* tracer, CTaskManager& tasks, SScriptMemory& memory);

    // The overlay pictures and the metal floor.
    void LoadResources() override;
    void Frame(float time) override;

private:
    CScenePreload m_Preload;
};

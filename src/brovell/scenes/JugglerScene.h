// The ray-traced juggler scenes: one juggler made of balls, then a field of them, seen from a
// camera flying along fixed keys, with coloured overlays and pictures laid over the traced
// frame. The tracer's per-frame update runs on a worker while the main thread draws the
// previous result. CBallsScene derives from it with its own script.
//
// Without a tracer (library missing or without the scene interface) the scene skips every
// tracer call and the background update, and still runs its camera, overlays and clipart over
// the ray-tracing phase's sky-coloured frame. Frame and LoadResources on the main thread,
// UpdateAsync on a worker of the "Default" group.
#pragma once

#include "brovell/scenes/Scene.h"
#include "brovell/scenes/ScriptMemory.h"
#include "kelvo/render/RtBallsRenderProcess.h"

#include <string>

class CTaskManager;
class ITracer;
struct SCameraKey;

class CJugglerScene : public CScene
{
public:
    // The program's tracer (looked up at the first frame), task manager and script memory.
    CJugglerScene();
    // A given tracer (may be null), task manager and memory, none of them owned.
    CJugglerScene(ITracer* tracer, CTaskManager& tasks, SScriptMemory& memory);

    bool GetCameraMatrix(SMatrix& outMatrix) const override;
    // The tracer's Update for the next frame.
    void UpdateAsync() override;
    void Frame(float time) override;

    CRtBallsRenderProcess& GetProcess() { return m_Process; }

protected:
    // lookUpTracer: use the program's tracer instead of tracer, found at the first frame.
    CJugglerScene(const SCameraKey& startKey, ITracer* tracer, bool lookUpTracer, CTaskManager& tasks,
                  SScriptMemory& memory);

    // Null without a tracer.
    ITracer* GetTracer();
    // The client's floor texture by name, and this scene's process made current.
    void BeginFrame(const char* floorTexture);
    // The frame pipeline's end: wait for the previous update, upload the spheres, queue the
    // next update. Nothing without a tracer.
    void FinishFrame();
    // The key as the camera; with capture, the position read at the window's first frame.
    void TakeKey(const SCameraKey& key);
    SVector3 TakeKeyAndCapture(const SCameraKey& key, SWindowMemory& window);
    void SetOverlay(const SVector4& color, float amount);
    void AddClipart(const SVector4& rectangle, const std::string& color, const std::string& alpha);

    SMatrix m_Camera;
    SScriptMemory& m_Memory;

private:
    bool m_LookUpTracer;
    ITracer* m_Tracer;
    CTaskManager& m_Tasks;
    CRtBallsRenderProcess m_Process;
};

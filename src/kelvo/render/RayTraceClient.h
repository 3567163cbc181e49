// The ray tracer as the ray-tracing render phase sees it: traces one frame for a camera
// object into the shared picture "soft_raytracer_rt". Registered in g_pRayTraceClient by
// the program's tracer client; while none is registered the phase shows whatever picture
// exists. The renderer tells it when the input buffer "kelvo_rtinput_buffer" goes and when a
// new one exists, so the tracer always reads the buffer the scene pass writes. Main thread.
#pragma once

class CGameObject;

class IRayTraceClient
{
public:
    virtual void Render(CGameObject* cameraObject) = 0;
    // Before the renderer releases its input buffer: let go of it.
    virtual void ReleaseInputBuffer() = 0;
    // After the renderer created its input buffer: hand it to the tracer when it is a new one.
    virtual void TakeInputBuffer() = 0;

protected:
    ~IRayTraceClient() = default;
};

extern IRayTraceClient* g_pRayTraceClient;

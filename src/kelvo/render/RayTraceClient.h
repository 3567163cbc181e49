// The ray tracer as the ray-tracing render phase sees it: traces one frame for a camera
// object into the shared picture "soft_raytracer_rt". Registered in g_pRayTraceClient by
// the program's tracer client; while none is registered the phase shows whatever picture
// exists. Main thread.
#pragma once

class CGameObject;

class IRayTraceClient
{
public:
    virtual void Render(CGameObject* cameraObject) = 0;

protected:
    ~IRayTraceClient() = default;
};

extern IRayTraceClient* g_pRayTraceClient;

#include "brovell/tracer/SceneTracer.h"

#include "brovell/tracer/RayTracerLoader.h"
#include "platform/DynamicLibrary.h"
#include "platform/Log.h"

ITracer* ToSceneTracer(IRayTracer* tracer)
{
    ITracer* sceneTracer = dynamic_cast<ITracer*>(tracer);
    if (sceneTracer == nullptr)
        DebugLog("[GetSceneTracer] No ball tracer: the traced scenes skip their tracer calls and show their "
                 "cameras, overlays and clipart over a sky-coloured frame\n");
    return sceneTracer;
}

ITracer* GetSceneTracer()
{
    static ITracer* tracer =
        ToSceneTracer(LoadRayTracer(platform::GetExecutableDirectory(), "libquellbeam.so"));
    return tracer;
}

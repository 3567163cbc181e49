// The ball scenes' view of the tracer (ITracer), found once per program run: a second load of
// the tracer library (already open) and a run-time cast of its tracer to the scene interface.
// Main thread.
#pragma once

#include "quellbeam/RayTracer.h"

// The scene interface of that tracer, or null (no tracer, or one without the scene
// interface); null is logged.
ITracer* ToSceneTracer(IRayTracer* tracer);

// The scene interface of the program's tracer; looked up on the first call, null without one.
ITracer* GetSceneTracer();

// The library's one export and its one tracer object.
#include "quellbeam/BackendFactory.h"
#include "quellbeam/host/GeomTracer.h"

namespace
{
quellbeam::CGeomTracer g_Tracer(&quellbeam::CreatePreferredBackend, &quellbeam::CreateCpuBackend);
}

extern "C" IRayTracer* GetRayTracer()
{
    return &g_Tracer;
}

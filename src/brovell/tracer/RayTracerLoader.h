// Finds the ball tracer library and its tracer object. The library stays loaded until the
// process ends (its tracer is a static object of the library).
#pragma once

#include "quellbeam/RayTracer.h"

#include <string>

// Opens fileName in directory, then through the loader's search path, logs
// "[__get_quellbeam] lib: %i" (0 when missing) and returns the library's tracer; null when
// the library or its GetRayTracer export is missing.
IRayTracer* LoadRayTracer(const std::string& directory, const std::string& fileName);

// The tracer of "libquellbeam.so" beside the executable, loaded on the first call.
IRayTracer* GetQuellbeamRayTracer();

// The four traced scenes of the benchmark, set up on a tracer as the demo's scenes drive it,
// each seen from one of the demo's camera keys.
#pragma once

#include "quellbeam/MemoryTexture.h"
#include "quellbeam/host/GeomTracer.h"

#include <vector>

namespace bench
{
// A key as the scenes store it: three rows of (rotation row, position component).
struct SCameraKey
{
    float rows[3][4];
};

// View block of the program's camera (half vertical field of view 20 degrees, 16:9 screen) at
// the key, moved by offset: corner rays normalised, then scaled so the centre ray has length 1.
SViewBlock MakeViewBlock(const SCameraKey& key, quellbeam::SVec3 offset);

struct SBenchScene
{
    const char* name;
    // Brings the tracer into the scene's state at its moment of the script.
    void (*setUp)(quellbeam::CGeomTracer& tracer, quellbeam::CMemoryTexture& floor);
    SViewBlock view;
};

std::vector<SBenchScene> MakeBenchScenes();

// A floor picture in the texture format the program hands over (packed ARGB, format 1).
void PaintBenchFloor(quellbeam::CMemoryTexture& floor);
}

// The result of a ray trace through the world's space.
#pragma once

#include <cstdint>

class C3DObjectLogic;

namespace kelvo
{
struct trace_hit_t
{
    float distance = 0.0f;
    // From the object's own test: the surface and the triangle that were hit.
    uint32_t surface = 0;
    uint32_t triangle = 0;
    // Null when nothing was hit.
    C3DObjectLogic* payload = nullptr;
};
}

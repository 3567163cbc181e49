// A ray as every spatial test takes it: the segment from the origin to origin + direction,
// whose point at fraction s (0 <= s <= 1) lies at distance s * length.
#pragma once

#include "kelvo/core/Math.h"

struct SRay
{
    SVector4 origin;
    SVector4 direction;
    float length = 0.0f;
};

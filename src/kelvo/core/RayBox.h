// Ray against axis-aligned box tests of the spatial tree.
#pragma once

#include "kelvo/core/Math.h"
#include "kelvo/core/Ray.h"

namespace kelvo
{
// True when the ray's segment meets the box: always when the origin lies strictly inside;
// otherwise by the slab test, limited to the ray's length, and confirmed by the middle of
// the crossing lying strictly inside the box (so a ray grazing a face or a flat box misses).
bool RayHitsBox(const SRay& ray, const SBox& box);
// True when the ray's line meets the box ahead of the origin, or the box holds the origin;
// the length is not considered. Used to descend the tree.
bool RayMeetsBoxAhead(const SRay& ray, const SBox& box);
}

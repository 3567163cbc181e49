#include "kelvo/core/RayBox.h"

#include <algorithm>
#include <utility>

namespace kelvo
{
namespace
{
// Parameter interval along the direction of one axis' slab, smaller value first; a zero
// direction component gives the wide interval (-100000, 100000).
std::pair<float, float> SlabInterval(float origin, float direction, float min, float max)
{
    if (direction == 0.0f)
        return {-100000.0f, 100000.0f};
    const float a = (min - origin) / direction;
    const float b = (max - origin) / direction;
    return a < b ? std::pair{a, b} : std::pair{b, a};
}

// Entry and exit parameters of the line through the box.
std::pair<float, float> Crossing(const SRay& ray, const SBox& box)
{
    const auto x = SlabInterval(ray.origin.x, ray.direction.x, box.min.x, box.max.x);
    const auto y = SlabInterval(ray.origin.y, ray.direction.y, box.min.y, box.max.y);
    const auto z = SlabInterval(ray.origin.z, ray.direction.z, box.min.z, box.max.z);
    return {std::max({x.first, y.first, z.first}), std::min({x.second, y.second, z.second})};
}

bool WithinSlab(float origin, float min, float max)
{
    return origin >= min && origin <= max;
}
}

bool RayHitsBox(const SRay& ray, const SBox& box)
{
    const SVector3 origin = XYZ(ray.origin);
    if (BoxContainsStrictly(box, origin))
        return true;
    const auto [enter, exit] = Crossing(ray, box);
    if (enter > exit || exit < 0.0f)
        return false;
    if (Length(XYZ(ray.direction)) * enter > ray.length)
        return false;
    const float middle = (enter + exit) * 0.5f;
    return BoxContainsStrictly(box, origin + XYZ(ray.direction) * middle);
}

bool RayMeetsBoxAhead(const SRay& ray, const SBox& box)
{
    const SVector4& o = ray.origin;
    const SVector4& d = ray.direction;
    const bool insideX = WithinSlab(o.x, box.min.x, box.max.x);
    const bool insideY = WithinSlab(o.y, box.min.y, box.max.y);
    const bool insideZ = WithinSlab(o.z, box.min.z, box.max.z);
    if (insideX && insideY && insideZ)
        return true;
    // A line parallel to a slab it lies outside of never meets the box.
    if ((d.x == 0.0f && !insideX) || (d.y == 0.0f && !insideY) || (d.z == 0.0f && !insideZ))
        return false;
    const auto [enter, exit] = Crossing(ray, box);
    return enter <= exit && exit >= 0.0f;
}
}

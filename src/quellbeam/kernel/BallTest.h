// Ray against one ball: the nearer root of |O + tD - C|^2 = r^2, counted when it lies between
// a small offset (so a ray leaving a surface does not hit it again) and the best hit so far.
#pragma once

#include "quellbeam/kernel/Vec.h"

namespace quellbeam
{
inline constexpr float kHitEpsilon = 0.00001f;
inline constexpr float kNoHitDistance = 1000000.0f;
inline constexpr uint32_t kNoBall = 0xFFFFFFFFu;

struct SRayHit
{
    float t = kNoHitDistance;
    uint32_t ball = kNoBall;
};

// dd is D . D, shared by every ball test of the ray.
QB_INLINE bool IntersectBall(SVec4 ball, SVec3 origin, SVec3 direction, float dd, float& best)
{
    const SVec3 v = Xyz(ball) - origin;
    const float b = Dot(v, direction);
    // A centre behind the origin puts the near root at t <= 0.
    if (b <= 0.0f)
        return false;
    const float disc = 4.0f * b * b - 4.0f * dd * (Dot(v, v) - ball.w * ball.w);
    if (disc < 0.0f)
        return false;
    const float t = (2.0f * b - sqrtf(disc)) / (2.0f * dd);
    if (t <= kHitEpsilon || t >= best)
        return false;
    best = t;
    return true;
}
}

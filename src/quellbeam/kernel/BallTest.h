// Ray against one ball: the nearer root of |O + tD - C|^2 = r^2, counted when it lies between
// a small offset (so a ray leaving a surface does not hit it again) and the best hit so far.
// The discriminant is taken from the ray's closest approach to the centre, not as the
// difference b^2 - |D|^2 (|C - O|^2 - r^2): for a ray starting far away (a shadow ray from the
// distant floor) that difference cancels to rounding noise and reports balls nowhere near it.
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

// dd is D . D and inverseDD 1 / dd, shared by every ball test of the ray.
QB_INLINE bool IntersectBall(SVec4 ball, SVec3 origin, SVec3 direction, float dd, float inverseDD,
                             float& best)
{
    const SVec3 v = Xyz(ball) - origin;
    const float b = Dot(v, direction);
    // A centre behind the origin puts the near root at t <= 0.
    if (b <= 0.0f)
        return false;
    // The centre's offset from its nearest point on the line; a quarter of the discriminant.
    const SVec3 offset = v - direction * (b * inverseDD);
    const float quarterDisc = dd * (ball.w * ball.w - Dot(offset, offset));
    if (quarterDisc < 0.0f)
        return false;
    const float t = (b - sqrtf(quarterDisc)) * inverseDD;
    if (t <= kHitEpsilon || t >= best)
        return false;
    best = t;
    return true;
}
}

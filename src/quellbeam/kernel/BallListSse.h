// Host-only: a ball list tested four balls at a time with SSE. Each lane computes exactly the
// operations of IntersectBall, and hits are taken in list order, so the result is the scalar
// loop's to the bit. Included by GridTraversal.h when compiling for an x86 host.
#pragma once

#include "quellbeam/kernel/BallTest.h"
#include "quellbeam/kernel/SceneView.h"

#include <xmmintrin.h>

namespace quellbeam
{
// Up to four balls waiting to be tested together.
struct SBallGroup
{
    uint32_t balls[4];
    int count;
};

// Tests the group's balls and empties it; on a hit updates hit and returns true. kAnyHit stops
// at the first hit.
template <bool kAnyHit>
inline bool TestBallGroup(const SSceneView& scene, SBallGroup& group, const float* origin,
                          const float* direction, float dd, float inverseDD, SRayHit& hit)
{
    const int count = group.count;
    if (count == 0)
        return false;
    group.count = 0;
    const uint32_t* balls = group.balls;
    // Unused lanes repeat the first ball: a duplicate never wins over its own earlier lane.
    __m128 x = _mm_loadu_ps(&scene.data[balls[0]].x);
    __m128 y = _mm_loadu_ps(&scene.data[balls[count > 1 ? 1 : 0]].x);
    __m128 z = _mm_loadu_ps(&scene.data[balls[count > 2 ? 2 : 0]].x);
    __m128 r = _mm_loadu_ps(&scene.data[balls[count > 3 ? 3 : 0]].x);
    _MM_TRANSPOSE4_PS(x, y, z, r);
    const __m128 dx = _mm_set1_ps(direction[0]), dy = _mm_set1_ps(direction[1]),
                 dz = _mm_set1_ps(direction[2]);
    const __m128 vx = _mm_sub_ps(x, _mm_set1_ps(origin[0]));
    const __m128 vy = _mm_sub_ps(y, _mm_set1_ps(origin[1]));
    const __m128 vz = _mm_sub_ps(z, _mm_set1_ps(origin[2]));
    const __m128 b = _mm_add_ps(_mm_add_ps(_mm_mul_ps(vx, dx), _mm_mul_ps(vy, dy)), _mm_mul_ps(vz, dz));
    const __m128 inverse = _mm_set1_ps(inverseDD);
    const __m128 k = _mm_mul_ps(b, inverse);
    const __m128 px = _mm_sub_ps(vx, _mm_mul_ps(dx, k));
    const __m128 py = _mm_sub_ps(vy, _mm_mul_ps(dy, k));
    const __m128 pz = _mm_sub_ps(vz, _mm_mul_ps(dz, k));
    const __m128 pp = _mm_add_ps(_mm_add_ps(_mm_mul_ps(px, px), _mm_mul_ps(py, py)), _mm_mul_ps(pz, pz));
    const __m128 disc = _mm_mul_ps(_mm_set1_ps(dd), _mm_sub_ps(_mm_mul_ps(r, r), pp));
    const __m128 valid = _mm_and_ps(_mm_cmpgt_ps(b, _mm_setzero_ps()), _mm_cmpge_ps(disc, _mm_setzero_ps()));
    if (_mm_movemask_ps(valid) == 0)
        return false;
    const __m128 t = _mm_mul_ps(_mm_sub_ps(b, _mm_sqrt_ps(disc)), inverse);
    const int accepted = _mm_movemask_ps(_mm_and_ps(valid, _mm_cmpgt_ps(t, _mm_set1_ps(kHitEpsilon))));
    if (accepted == 0)
        return false;
    float lanes[4];
    _mm_storeu_ps(lanes, t);
    bool found = false;
    for (int lane = 0; lane < count; ++lane)
        if (((accepted >> lane) & 1) != 0 && lanes[lane] < hit.t)
        {
            hit.t = lanes[lane];
            hit.ball = balls[lane];
            found = true;
            if (kAnyHit)
                return true;
        }
    return found;
}
}

// The walk with 256-bit AVX registers: eight lanes in one register. This file alone is
// compiled for AVX2 and FMA (fused only where asked for); it is only called where the
// processor has both.
#include "quellbeam/cpu/BvhTrace.h"
#include "quellbeam/cpu/BvhWalk.h"

#include <immintrin.h>

namespace quellbeam
{
namespace
{
struct SLanes
{
    __m256 v;

    static SLanes Set(float f) { return {_mm256_set1_ps(f)}; }
    static SLanes Load(const float* p) { return {_mm256_loadu_ps(p)}; }
    void Store(float* p) const { _mm256_storeu_ps(p, v); }
    static int Less(SLanes a, SLanes b) { return _mm256_movemask_ps(_mm256_cmp_ps(a.v, b.v, _CMP_LT_OQ)); }
    static int LessEqual(SLanes a, SLanes b)
    {
        return _mm256_movemask_ps(_mm256_cmp_ps(a.v, b.v, _CMP_LE_OQ));
    }
    friend SLanes operator+(SLanes a, SLanes b) { return {_mm256_add_ps(a.v, b.v)}; }
    friend SLanes operator-(SLanes a, SLanes b) { return {_mm256_sub_ps(a.v, b.v)}; }
    friend SLanes operator*(SLanes a, SLanes b) { return {_mm256_mul_ps(a.v, b.v)}; }
    friend SLanes operator/(SLanes a, SLanes b) { return {_mm256_div_ps(a.v, b.v)}; }
    friend SLanes Min(SLanes a, SLanes b) { return {_mm256_min_ps(a.v, b.v)}; }
    friend SLanes Max(SLanes a, SLanes b) { return {_mm256_max_ps(a.v, b.v)}; }
    friend SLanes Sqrt(SLanes a) { return {_mm256_sqrt_ps(a.v)}; }
    float First() const { return _mm256_cvtss_f32(v); }
    static float MinOf(SLanes a)
    {
        __m128 m = _mm_min_ps(_mm256_castps256_ps128(a.v), _mm256_extractf128_ps(a.v, 1));
        m = _mm_min_ps(m, _mm_movehl_ps(m, m));
        return _mm_cvtss_f32(_mm_min_ss(m, _mm_shuffle_ps(m, m, 1)));
    }
    static float MaxOf(SLanes a)
    {
        __m128 m = _mm_max_ps(_mm256_castps256_ps128(a.v), _mm256_extractf128_ps(a.v, 1));
        m = _mm_max_ps(m, _mm_movehl_ps(m, m));
        return _mm_cvtss_f32(_mm_max_ss(m, _mm_shuffle_ps(m, m, 1)));
    }
    // a <= b ? x : y, lane by lane.
    friend SLanes SelectLessEqual(SLanes a, SLanes b, SLanes x, SLanes y)
    {
        return {_mm256_blendv_ps(y.v, x.v, _mm256_cmp_ps(a.v, b.v, _CMP_LE_OQ))};
    }
    // a * b - c in one rounding.
    friend SLanes MulSub(SLanes a, SLanes b, SLanes c) { return {_mm256_fmsub_ps(a.v, b.v, c.v)}; }
};
}

SBvhTraceFunctions GetBvhTraceAvx2()
{
    return TBvhWalk<SLanes>::Functions("AVX2");
}
}

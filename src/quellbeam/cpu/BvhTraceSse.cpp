// The walk for processors without AVX2: eight lanes as two 128-bit SSE registers.
#include "quellbeam/cpu/BvhTrace.h"
#include "quellbeam/cpu/BvhWalk.h"

#include <xmmintrin.h>

namespace quellbeam
{
namespace
{
struct SLanes
{
    __m128 lo, hi;

    static SLanes Set(float f) { return {_mm_set1_ps(f), _mm_set1_ps(f)}; }
    static SLanes Load(const float* p) { return {_mm_loadu_ps(p), _mm_loadu_ps(p + 4)}; }
    void Store(float* p) const
    {
        _mm_storeu_ps(p, lo);
        _mm_storeu_ps(p + 4, hi);
    }
    static int Less(SLanes a, SLanes b)
    {
        return _mm_movemask_ps(_mm_cmplt_ps(a.lo, b.lo)) | _mm_movemask_ps(_mm_cmplt_ps(a.hi, b.hi)) << 4;
    }
    static int LessEqual(SLanes a, SLanes b)
    {
        return _mm_movemask_ps(_mm_cmple_ps(a.lo, b.lo)) | _mm_movemask_ps(_mm_cmple_ps(a.hi, b.hi)) << 4;
    }
    friend SLanes operator+(SLanes a, SLanes b) { return {_mm_add_ps(a.lo, b.lo), _mm_add_ps(a.hi, b.hi)}; }
    friend SLanes operator-(SLanes a, SLanes b) { return {_mm_sub_ps(a.lo, b.lo), _mm_sub_ps(a.hi, b.hi)}; }
    friend SLanes operator*(SLanes a, SLanes b) { return {_mm_mul_ps(a.lo, b.lo), _mm_mul_ps(a.hi, b.hi)}; }
    friend SLanes operator/(SLanes a, SLanes b) { return {_mm_div_ps(a.lo, b.lo), _mm_div_ps(a.hi, b.hi)}; }
    friend SLanes Min(SLanes a, SLanes b) { return {_mm_min_ps(a.lo, b.lo), _mm_min_ps(a.hi, b.hi)}; }
    friend SLanes Max(SLanes a, SLanes b) { return {_mm_max_ps(a.lo, b.lo), _mm_max_ps(a.hi, b.hi)}; }
    friend SLanes Sqrt(SLanes a) { return {_mm_sqrt_ps(a.lo), _mm_sqrt_ps(a.hi)}; }
    friend SLanes MulSub(SLanes a, SLanes b, SLanes c) { return a * b - c; }
    float First() const { return _mm_cvtss_f32(lo); }
    static float MinOf(SLanes a)
    {
        __m128 m = _mm_min_ps(a.lo, a.hi);
        m = _mm_min_ps(m, _mm_movehl_ps(m, m));
        return _mm_cvtss_f32(_mm_min_ss(m, _mm_shuffle_ps(m, m, 1)));
    }
    static float MaxOf(SLanes a)
    {
        __m128 m = _mm_max_ps(a.lo, a.hi);
        m = _mm_max_ps(m, _mm_movehl_ps(m, m));
        return _mm_cvtss_f32(_mm_max_ss(m, _mm_shuffle_ps(m, m, 1)));
    }
    friend SLanes SelectLessEqual(SLanes a, SLanes b, SLanes x, SLanes y)
    {
        const __m128 lo = _mm_cmple_ps(a.lo, b.lo), hi = _mm_cmple_ps(a.hi, b.hi);
        return {_mm_or_ps(_mm_and_ps(lo, x.lo), _mm_andnot_ps(lo, y.lo)),
                _mm_or_ps(_mm_and_ps(hi, x.hi), _mm_andnot_ps(hi, y.hi))};
    }
};
}

SBvhTraceFunctions GetBvhTraceSse()
{
    return TBvhWalk<SLanes>::Functions("SSE");
}
}

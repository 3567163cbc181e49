// The classic 15-bit linear congruential generator of the C run time's rand/srand (values 0
// to 32767), with its state in the object, so seeded sequences come out the same on every run
// and every platform. Not thread-safe. Header only, so the program and the tracer library
// each carry their own generators.
//
// Draw order: every value comes from Next, one draw after the other. A 30-bit value joins two
// successive draws; the caller says which of the two gives the high 15 bits, since the engine's
// and the tracer's pictures were made with different orders. A range with a not below b gives
// 0 without drawing.
#pragma once

#include <cstdint>

class CRandom15
{
public:
    static constexpr int kMax = 32767;

    enum class EOrder
    {
        // The first draw gives the low 15 bits, the second the high ones.
        kLowFirst,
        // The first draw gives the high 15 bits.
        kHighFirst,
    };

    void Seed(uint32_t seed) { m_State = seed; }
    int Next()
    {
        m_State = m_State * 214013u + 2531011u;
        return static_cast<int>((m_State >> 16) & 0x7fffu);
    }
    uint32_t Next30(EOrder order)
    {
        const auto first = static_cast<uint32_t>(Next());
        const auto second = static_cast<uint32_t>(Next());
        return order == EOrder::kLowFirst ? first | (second << 15) : (first << 15) | second;
    }

    // a + (b - a) r with r = Next30(kLowFirst) / 2^30, in double precision rounded once to
    // float at the end.
    float RangeLowFirst(float a, float b)
    {
        if (!(a < b))
            return 0.0f;
        const double unit = static_cast<double>(Next30(EOrder::kLowFirst)) / 1073741824.0;
        return static_cast<float>(a + (b - a) * unit);
    }
    // a + (b - a) r with r = Next30(kHighFirst) / 2^30 rounded to float, in single precision.
    float RangeHighFirst(float a, float b)
    {
        if (!(a < b))
            return 0.0f;
        const auto unit = static_cast<float>(Next30(EOrder::kHighFirst) * (1.0 / 1073741824.0));
        return a + (b - a) * unit;
    }

private:
    uint32_t m_State = 1;
};

// The library's random generator: the classic 15-bit linear congruential rand/srand (values 0
// to 32767), with its own state, so seeded sequences (the juggler field after seed 123) come
// out the same on every run and on every platform.
#pragma once

#include <cstdint>

namespace quellbeam
{
class CRandom15
{
public:
    static constexpr int kMax = 32767;

    void Seed(uint32_t seed) { m_State = seed; }
    int Next()
    {
        m_State = m_State * 214013u + 2531011u;
        return static_cast<int>((m_State >> 16) & 0x7fffu);
    }
    // One 30-bit draw in [0, 1): the high 15 bits come from the first value.
    float Unit30()
    {
        const uint32_t high = static_cast<uint32_t>(Next());
        const uint32_t low = static_cast<uint32_t>(Next());
        return static_cast<float>(((high << 15) | low) * (1.0 / 1073741824.0));
    }
    // a + (b - a) r from one 30-bit draw; 0 when the range is empty (the draw is still made).
    float Range(float a, float b)
    {
        const float r = Unit30();
        return a < b ? a + (b - a) * r : 0.0f;
    }

private:
    uint32_t m_State = 1;
};

// The generator every draw of the library uses, like the one C run-time state of a library.
CRandom15& LibraryRandom();
}

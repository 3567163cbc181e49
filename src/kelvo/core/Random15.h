// The program's random generator: the classic 15-bit linear congruential rand/srand (values 0
// to 32767) with one state for the whole program, so seeded sequences come out the same on
// every run and every platform. Not thread-safe, like the C run time's rand.
#pragma once

#include <cstdint>

class CRandom15
{
public:
    void Seed(uint32_t seed) { m_State = seed; }
    int Next()
    {
        m_State = m_State * 214013u + 2531011u;
        return static_cast<int>((m_State >> 16) & 0x7fffu);
    }
    // a + (b - a) r with r from two draws (the second one gives the high 15 bits) over 2^30;
    // 0 when a is not below b.
    float Range(float a, float b)
    {
        if (!(a < b))
            return 0.0f;
        const uint32_t low = static_cast<uint32_t>(Next());
        const uint32_t high = static_cast<uint32_t>(Next());
        const double unit = static_cast<double>(low | (high << 15)) / 1073741824.0;
        return static_cast<float>(a + (b - a) * unit);
    }

private:
    uint32_t m_State = 1;
};

// The generator every draw of the program uses.
CRandom15& ProgramRandom();

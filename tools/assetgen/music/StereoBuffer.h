// A stereo signal in two float arrays, with the mixing operations the renderer needs.
#pragma once

#include <cstdint>
#include <vector>

struct SStereoBuffer
{
    std::vector<float> m_Left;
    std::vector<float> m_Right;

    explicit SStereoBuffer(int64_t samples = 0)
        : m_Left(samples)
        , m_Right(samples)
    {
    }
    int64_t GetSize() const { return static_cast<int64_t>(m_Left.size()); }

    // Adds source scaled by gain (source may be shorter).
    void Add(const SStereoBuffer& source, float gain)
    {
        const int64_t count = source.GetSize() < GetSize() ? source.GetSize() : GetSize();
        for (int64_t i = 0; i < count; ++i)
        {
            m_Left[i] += source.m_Left[i] * gain;
            m_Right[i] += source.m_Right[i] * gain;
        }
    }
};

// Decoded audio held in memory: interleaved signed 16-bit samples and their format.
#pragma once

#include <cstdint>
#include <vector>

struct SPcmAudio
{
    int m_SampleRate = 0;
    int m_Channels = 0;
    std::vector<int16_t> m_Samples; // interleaved, m_Channels per frame

    uint32_t GetBytesPerFrame() const { return static_cast<uint32_t>(m_Channels) * sizeof(int16_t); }
    uint64_t GetFrameCount() const { return m_Channels > 0 ? m_Samples.size() / m_Channels : 0; }
    uint64_t GetByteCount() const { return m_Samples.size() * sizeof(int16_t); }
    double GetBytesPerSecond() const { return static_cast<double>(m_SampleRate) * GetBytesPerFrame(); }
};

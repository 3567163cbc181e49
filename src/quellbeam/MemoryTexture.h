// An ITracerTexture that lives in host memory only: for headless use of the tracer (tests,
// benchmarks). Texels are four floats or packed 0xAARRGGBB words, rows without padding.
#pragma once

#include "quellbeam/RayTracer.h"

#include <cstddef>
#include <vector>

namespace quellbeam
{
class CMemoryTexture final : public ITracerTexture
{
public:
    CMemoryTexture(uint32_t width, uint32_t height, uint32_t format)
        : m_Width(width)
        , m_Height(height)
        , m_Format(format)
        , m_Bytes(static_cast<std::size_t>(width) * height * BytesPerTexel(format))
    {
    }

    uint32_t GetWidth() const override { return m_Width; }
    uint32_t GetHeight() const override { return m_Height; }
    uint32_t GetFormat() const override { return m_Format; }
    uint32_t GetGLName() const override { return 0; }
    void* Lock(uint32_t* pitchBytes) override
    {
        ++m_Locks;
        *pitchBytes = m_Width * BytesPerTexel(m_Format);
        return m_Bytes.data();
    }
    void Unlock() override { ++m_Unlocks; }

    // Four floats of texel (x, y) of a format-4 texture.
    const float* Texel(uint32_t x, uint32_t y) const
    {
        return reinterpret_cast<const float*>(m_Bytes.data()) +
               (static_cast<std::size_t>(y) * m_Width + x) * 4;
    }
    uint32_t* Words() { return reinterpret_cast<uint32_t*>(m_Bytes.data()); }
    int GetLockCount() const { return m_Locks; }
    int GetUnlockCount() const { return m_Unlocks; }

private:
    static uint32_t BytesPerTexel(uint32_t format) { return format == kTracerTextureFloat4 ? 16 : 4; }

    uint32_t m_Width;
    uint32_t m_Height;
    uint32_t m_Format;
    std::vector<unsigned char> m_Bytes;
    int m_Locks = 0;
    int m_Unlocks = 0;
};
}

// A texture of the GPU layer as the tracer sees it: its size, format and interop name, and a
// host copy that the tracer locks. Lock fills the copy from the device (render targets and
// 4-byte textures; a float texture that only the tracer writes keeps its last copy); Unlock
// uploads the copy of that float texture, the one the tracer writes, and nothing of the
// textures it only reads. Pictures (format 0) show as format 1: both are packed 0xAARRGGBB
// words. The tracer's output is written black when this is made. The texture is not owned
// and must outlive this object. Render thread only.
#pragma once

#include "quellbeam/RayTracer.h"

#include <cstdint>
#include <vector>

class IGPUTexture;

class CTracerTexture final : public ITracerTexture
{
public:
    explicit CTracerTexture(IGPUTexture* texture);

    uint32_t GetWidth() const override { return m_Width; }
    uint32_t GetHeight() const override { return m_Height; }
    uint32_t GetFormat() const override { return m_Format; }
    uint32_t GetGLName() const override;
    void* Lock(uint32_t* pitchBytes) override;
    void Unlock() override;
    // Unlock uploads only the top-left width x height texels of the tracer's output (what it
    // traced this frame), clamped to the texture; the whole texture until this is called.
    void SetUploadArea(uint32_t width, uint32_t height);

private:
    uint32_t BytesPerTexel() const { return m_Format == kTracerTextureFloat4 ? 16 : 4; }
    bool ReadFromDevice();
    bool IsTracerOutput() const;

    IGPUTexture* m_Texture;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    uint32_t m_Format = 0;
    uint32_t m_UploadWidth = 0;
    uint32_t m_UploadHeight = 0;
    std::vector<uint8_t> m_HostCopy;
    bool m_Locked = false;
};

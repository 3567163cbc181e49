// Textures over the GL device: pictures loaded by bare file name through the data registry
// (full mip chain, format 0), or textures created empty in formats 1..4 as render targets or
// as dynamic data. Owned by its container; the device texture is freed by Release and by the
// destructor. Main thread only.
#pragma once

#include "kelvo/gpu/GPUTexture.h"

#include <cstdint>
#include <string>
#include <vector>

class CGLDevice;
class CGLTexture2D;

class CTextureGL : public IGPUTexture
{
    KELVO_RTTI(CTextureGL, IGPUTexture)

public:
    explicit CTextureGL(CGLDevice* device);
    CTextureGL(const CTextureGL&) = delete;
    CTextureGL& operator=(const CTextureGL&) = delete;
    ~CTextureGL() override;

    bool Update() override { return true; }
    bool Refresh() override { return true; }
    bool Release() override;
    uint32_t Load(const std::string& fileName) override;

    uint32_t ReadPixels(uint32_t level, uint32_t x, uint32_t y, uint32_t width, uint32_t height,
                        std::vector<uint32_t>& outTexels) override;
    uint32_t WritePixels(uint32_t x, uint32_t y, uint32_t width, uint32_t height, const void* source,
                         uint32_t sourcePitch) override;
    uint32_t SetTexture(uint32_t stage) override;
    uint32_t SetVertexTexture(uint32_t sampler) override;
    uint32_t SetRenderTarget(uint32_t index) override;
    uint32_t ReadBack(std::vector<uint8_t>& outBytes) override;
    uint32_t Clear() override;
    void GetDesc(uint32_t& outWidth, uint32_t& outHeight, uint32_t& outLevels,
                 uint32_t& outFormat) const override;
    bool GetLevelSize(uint32_t level, uint32_t& outWidth, uint32_t& outHeight) const override;

    // A texture of one level in format 1..4 (levels is only recorded). 42 for another
    // format, 43 when the device refuses.
    uint32_t CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t format,
                           bool renderTarget);
    bool IsRenderTarget() const override { return m_RenderTarget; }
    // The GL texture name.
    uint32_t GetInteropName() const override;
    // The device texture (null until loaded or created), for code that shares it with other
    // GPU libraries.
    CGLTexture2D* m_Texture = nullptr;

private:
    // Sets stage's size variables (stages below 261) to this texture's size.
    void PublishSize(uint32_t stage) const;

    CGLDevice* m_Device;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    uint32_t m_Levels = 0;
    uint32_t m_Format = 0;
    bool m_RenderTarget = false;
};

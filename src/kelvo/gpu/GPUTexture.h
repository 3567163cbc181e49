// The texture interface: pictures loaded by file name and textures created empty, as render
// targets or as data the CPU writes. Row 0 is the top row in every operation. Binding to a
// stage publishes the texture's size in the stage's render variables "r_texw_N", "r_texh_N",
// "r_texdx_N" and "r_texdy_N" (stages 0 to 260). Main thread only.
#pragma once

#include "kelvo/gpu/GPUResource.h"

#include <cstdint>
#include <vector>

class IGPUTexture : public IGPUResource
{
    KELVO_RTTI(IGPUTexture, IGPUResource)

public:
    // A rectangle of a level as 4-byte texels (the leading 4 bytes of each texel's storage
    // row for wider formats).
    virtual uint32_t ReadPixels(uint32_t level, uint32_t x, uint32_t y, uint32_t width, uint32_t height,
                                std::vector<uint32_t>& outTexels) = 0;
    // Rows of source (pitch bytes apart) into a rectangle of level 0.
    virtual uint32_t WritePixels(uint32_t x, uint32_t y, uint32_t width, uint32_t height, const void* source,
                                 uint32_t sourcePitch) = 0;
    virtual uint32_t SetTexture(uint32_t stage) = 0;
    // Vertex-texture sampler j is stage 257 + j.
    virtual uint32_t SetVertexTexture(uint32_t sampler) = 0;
    virtual uint32_t SetRenderTarget(uint32_t index) = 0;
    // The whole render target, rows of width x bytes per texel, row 0 first.
    virtual uint32_t ReadBack(std::vector<uint8_t>& outBytes) = 0;
    // Fills the texture with "r_clear_color" through the technique "clear_tex".
    virtual uint32_t Clear() = 0;
    virtual void GetDesc(uint32_t& outWidth, uint32_t& outHeight, uint32_t& outLevels,
                         uint32_t& outFormat) const = 0;
    virtual bool GetLevelSize(uint32_t level, uint32_t& outWidth, uint32_t& outHeight) const = 0;
    virtual bool IsRenderTarget() const = 0;
    // The name under which another GPU library can share the device texture (with OpenGL, the
    // texture name that CUDA's GL interop registers); 0 while there is no device texture.
    virtual uint32_t GetInteropName() const = 0;
};

// The texture formats of the GPU layer and how each is stored in OpenGL. Texels keep
// Direct3D's memory layout at the boundary: format 1 is packed 0xAARRGGBB (bytes B, G, R, A),
// the float formats are R, RG and RGBA floats.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>

inline constexpr uint32_t kTextureFormatFile = 0;
inline constexpr uint32_t kTextureFormatARGB8 = 1;
inline constexpr uint32_t kTextureFormatR32F = 2;
inline constexpr uint32_t kTextureFormatRG32F = 3;
inline constexpr uint32_t kTextureFormatRGBA32F = 4;

struct STextureFormatInfo
{
    GLenum m_InternalFormat;
    GLenum m_PixelFormat;
    GLenum m_PixelType;
    uint32_t m_BytesPerTexel;
};

// The storage of a format 0 to 4; null for any other value. Loaded pictures (format 0) are
// stored and read like format 1.
const STextureFormatInfo* FindTextureFormat(uint32_t format);

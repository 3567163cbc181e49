#include "kelvo/gpu/gl/TextureFormat.h"

namespace
{
constexpr STextureFormatInfo kFormats[] = {
    {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4}, {GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE, 4},
    {GL_R32F, GL_RED, GL_FLOAT, 4},           {GL_RG32F, GL_RG, GL_FLOAT, 8},
    {GL_RGBA32F, GL_RGBA, GL_FLOAT, 16},
};
}

const STextureFormatInfo* FindTextureFormat(uint32_t format)
{
    if (format >= sizeof(kFormats) / sizeof(kFormats[0]))
        return nullptr;
    return &kFormats[format];
}

#include "kelvo/gpu/gl/GLTexture2D.h"

#include "kelvo/gpu/gl/GLError.h"
#include "kelvo/gpu/gl/SamplerStages.h"

#include <algorithm>
#include <cstring>

namespace
{
uint32_t FullMipChainLength(uint32_t width, uint32_t height)
{
    uint32_t levels = 1;
    for (uint32_t size = std::max(width, height); size > 1; size >>= 1)
        ++levels;
    return levels;
}
}

CGLTexture2D::~CGLTexture2D()
{
    Destroy();
}

void CGLTexture2D::Destroy()
{
    if (m_Name != 0)
        glDeleteTextures(1, &m_Name);
    m_Name = 0;
    m_Locked = false;
    m_LockBits.clear();
}

void CGLTexture2D::BindOnScratchUnit() const
{
    glActiveTexture(GL_TEXTURE0 + kScratchTextureUnit);
    glBindTexture(GL_TEXTURE_2D, m_Name);
}

bool CGLTexture2D::Create(uint32_t width, uint32_t height, uint32_t format, bool renderTarget,
                          GLenum& outError)
{
    Destroy();
    const STextureFormatInfo* info = FindTextureFormat(format);
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (info == nullptr || format == kTextureFormatFile || width == 0 || height == 0 ||
        width > static_cast<uint32_t>(maxSize) || height > static_cast<uint32_t>(maxSize))
    {
        outError = GL_INVALID_VALUE;
        return false;
    }
    ClearGLErrors();
    glGenTextures(1, &m_Name);
    BindOnScratchUnit();
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(info->m_InternalFormat), static_cast<GLsizei>(width),
                 static_cast<GLsizei>(height), 0, info->m_PixelFormat, info->m_PixelType, nullptr);
    // One level only, so mip filtering never finds the texture incomplete.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glActiveTexture(GL_TEXTURE0);
    outError = TakeGLError();
    if (outError != GL_NO_ERROR)
    {
        Destroy();
        return false;
    }
    m_Width = width;
    m_Height = height;
    m_Levels = 1;
    m_Format = format;
    m_RenderTarget = renderTarget;
    m_Info = info;
    return true;
}

bool CGLTexture2D::CreateFromPicture(uint32_t width, uint32_t height, const uint8_t* rgba, GLenum& outError)
{
    Destroy();
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (rgba == nullptr || width == 0 || height == 0 || width > static_cast<uint32_t>(maxSize) ||
        height > static_cast<uint32_t>(maxSize))
    {
        outError = GL_INVALID_VALUE;
        return false;
    }
    const uint32_t levels = FullMipChainLength(width, height);
    ClearGLErrors();
    glGenTextures(1, &m_Name);
    BindOnScratchUnit();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                 GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels - 1));
    glGenerateMipmap(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    outError = TakeGLError();
    if (outError != GL_NO_ERROR)
    {
        Destroy();
        return false;
    }
    m_Width = width;
    m_Height = height;
    m_Levels = levels;
    m_Format = kTextureFormatFile;
    m_RenderTarget = false;
    m_Info = FindTextureFormat(kTextureFormatFile);
    return true;
}

bool CGLTexture2D::GetLevelSize(uint32_t level, uint32_t& outWidth, uint32_t& outHeight) const
{
    if (m_Name == 0 || level >= m_Levels)
        return false;
    outWidth = std::max(1u, m_Width >> level);
    outHeight = std::max(1u, m_Height >> level);
    return true;
}

bool CGLTexture2D::Lock(uint32_t level, uint32_t x, uint32_t y, uint32_t width, uint32_t height, ELock mode,
                        SLockedRect& outRect)
{
    uint32_t levelWidth = 0, levelHeight = 0;
    if (m_Locked || !GetLevelSize(level, levelWidth, levelHeight))
        return false;
    // 64-bit sums: x + width must not wrap around to pass the check.
    if (uint64_t{x} + width > levelWidth || uint64_t{y} + height > levelHeight)
        return false;
    m_Locked = true;
    m_LockMode = mode;
    m_LockLevel = level;
    m_LockX = x;
    m_LockY = y;
    m_LockWidth = width;
    m_LockHeight = height;
    const uint32_t pitch = width * m_Info->m_BytesPerTexel;
    m_LockBits.assign(static_cast<std::size_t>(pitch) * height, 0);
    if (mode == ELock::ReadOnly && !m_LockBits.empty())
    {
        // GL reads whole levels only; the rectangle is cut out of it.
        const uint32_t levelPitch = levelWidth * m_Info->m_BytesPerTexel;
        std::vector<uint8_t> levelBits(static_cast<std::size_t>(levelPitch) * levelHeight);
        BindOnScratchUnit();
        glGetTexImage(GL_TEXTURE_2D, static_cast<GLint>(level), m_Info->m_PixelFormat, m_Info->m_PixelType,
                      levelBits.data());
        glActiveTexture(GL_TEXTURE0);
        for (uint32_t row = 0; row < height; ++row)
            std::memcpy(m_LockBits.data() + static_cast<std::size_t>(row) * pitch,
                        levelBits.data() + static_cast<std::size_t>(y + row) * levelPitch +
                            static_cast<std::size_t>(x) * m_Info->m_BytesPerTexel,
                        pitch);
    }
    outRect.m_Bits = m_LockBits.empty() ? nullptr : m_LockBits.data();
    outRect.m_Pitch = pitch;
    return true;
}

void CGLTexture2D::Unlock()
{
    if (!m_Locked)
        return;
    if (m_LockMode == ELock::WriteOnly && !m_LockBits.empty())
    {
        BindOnScratchUnit();
        glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(m_LockLevel), static_cast<GLint>(m_LockX),
                        static_cast<GLint>(m_LockY), static_cast<GLsizei>(m_LockWidth),
                        static_cast<GLsizei>(m_LockHeight), m_Info->m_PixelFormat, m_Info->m_PixelType,
                        m_LockBits.data());
        glActiveTexture(GL_TEXTURE0);
    }
    m_Locked = false;
    m_LockBits.clear();
}

void CGLTexture2D::ReadLevel0(std::vector<uint8_t>& outBytes) const
{
    outBytes.assign(
        static_cast<std::size_t>(m_Width) * m_Height * (m_Info != nullptr ? m_Info->m_BytesPerTexel : 0), 0);
    if (m_Name == 0 || outBytes.empty())
        return;
    BindOnScratchUnit();
    glGetTexImage(GL_TEXTURE_2D, 0, m_Info->m_PixelFormat, m_Info->m_PixelType, outBytes.data());
    glActiveTexture(GL_TEXTURE0);
}

// A 2D texture on the device: created empty in formats 1..4 (one level, dynamic or render
// target) or from RGBA8 picture rows with a full mip chain. Row 0 is the top row everywhere:
// uploads, locks and read-backs keep the rows in memory order, and the device draws into
// render targets upside down in GL terms so that they agree.
// Needs the GL context current; owned by the texture resource that created it.
#pragma once

#include "kelvo/gpu/gl/TextureFormat.h"

#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

class CGLTexture2D
{
public:
    // A lock's view of a rectangle: rows of pitch bytes, row 0 at the top of the rectangle.
    struct SLockedRect
    {
        uint8_t* m_Bits = nullptr;
        uint32_t m_Pitch = 0;
    };

    enum class ELock
    {
        ReadOnly,  // the rectangle's texels are read; nothing is written back
        WriteOnly, // the caller overwrites the whole rectangle; written back by Unlock
    };

    CGLTexture2D() = default;
    CGLTexture2D(const CGLTexture2D&) = delete;
    CGLTexture2D& operator=(const CGLTexture2D&) = delete;
    ~CGLTexture2D();

    // One level of width x height in a format 1..4. False with the GL error (or
    // GL_INVALID_VALUE for a size the device cannot hold) in outError.
    bool Create(uint32_t width, uint32_t height, uint32_t format, bool renderTarget, GLenum& outError);
    // A picture of width x height RGBA8 texels (bytes R, G, B, A, row 0 on top) with its full
    // mip chain; stored and read as format 0.
    bool CreateFromPicture(uint32_t width, uint32_t height, const uint8_t* rgba, GLenum& outError);

    GLuint GetName() const { return m_Name; }
    uint32_t GetWidth() const { return m_Width; }
    uint32_t GetHeight() const { return m_Height; }
    uint32_t GetLevelCount() const { return m_Levels; }
    uint32_t GetFormat() const { return m_Format; }
    bool IsRenderTarget() const { return m_RenderTarget; }
    uint32_t GetBytesPerTexel() const { return m_Info != nullptr ? m_Info->m_BytesPerTexel : 0; }

    // Size of a level; false for a level the texture does not have.
    bool GetLevelSize(uint32_t level, uint32_t& outWidth, uint32_t& outHeight) const;

    // Locks a rectangle of a level; false when the level or the rectangle is outside the
    // texture or a lock is already held. An empty rectangle locks with no bits.
    bool Lock(uint32_t level, uint32_t x, uint32_t y, uint32_t width, uint32_t height, ELock mode,
              SLockedRect& outRect);
    // Ends the lock; a write lock uploads the rectangle.
    void Unlock();

    // The whole of level 0 in memory order, row 0 first, rows of width x bytes per texel.
    void ReadLevel0(std::vector<uint8_t>& outBytes) const;

private:
    // Binds the texture on the scratch unit (and leaves that unit active), so that no
    // sampler stage loses its texture; callers make unit 0 active again when done.
    void BindOnScratchUnit() const;
    void Destroy();

    GLuint m_Name = 0;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    uint32_t m_Levels = 0;
    uint32_t m_Format = 0;
    bool m_RenderTarget = false;
    const STextureFormatInfo* m_Info = nullptr;

    // The lock in progress.
    bool m_Locked = false;
    ELock m_LockMode = ELock::ReadOnly;
    uint32_t m_LockLevel = 0;
    uint32_t m_LockX = 0, m_LockY = 0, m_LockWidth = 0, m_LockHeight = 0;
    std::vector<uint8_t> m_LockBits;
};

#include "brovell/tracer/TracerTexture.h"

#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/GPUTexture.h"

#include <algorithm>
#include <cstring>

CTracerTexture::CTracerTexture(IGPUTexture* texture)
    : m_Texture(texture)
{
    uint32_t levels = 0;
    m_Texture->GetDesc(m_Width, m_Height, levels, m_Format);
    if (m_Format == 0)
        m_Format = kTracerTextureArgb8;
    m_HostCopy.assign(static_cast<std::size_t>(m_Width) * m_Height * BytesPerTexel(), 0);
    m_UploadWidth = m_Width;
    m_UploadHeight = m_Height;
    // The tracer's output starts black rather than with whatever the driver left in it; the
    // write also makes its memory resident while loading, not on the first traced frame.
    if (IsTracerOutput())
        m_Texture->WritePixels(0, 0, m_Width, m_Height, m_HostCopy.data(), m_Width * BytesPerTexel());
}

void CTracerTexture::SetUploadArea(uint32_t width, uint32_t height)
{
    m_UploadWidth = std::min(width, m_Width);
    m_UploadHeight = std::min(height, m_Height);
}

uint32_t CTracerTexture::GetGLName() const
{
    return m_Texture->GetInteropName();
}

bool CTracerTexture::IsTracerOutput() const
{
    return m_Format == kTracerTextureFloat4 && !m_Texture->IsRenderTarget();
}

bool CTracerTexture::ReadFromDevice()
{
    if (m_Texture->IsRenderTarget())
    {
        std::vector<uint8_t> bytes;
        if (m_Texture->ReadBack(bytes) != kGPUResultOk || bytes.size() != m_HostCopy.size())
            return false;
        m_HostCopy.swap(bytes);
        return true;
    }
    if (IsTracerOutput())
        return true;
    std::vector<uint32_t> texels;
    if (m_Texture->ReadPixels(0, 0, 0, m_Width, m_Height, texels) != kGPUResultOk ||
        texels.size() * 4 != m_HostCopy.size())
        return false;
    std::memcpy(m_HostCopy.data(), texels.data(), m_HostCopy.size());
    return true;
}

void* CTracerTexture::Lock(uint32_t* pitchBytes)
{
    if (m_Locked || m_HostCopy.empty() || !ReadFromDevice())
        return nullptr;
    m_Locked = true;
    *pitchBytes = m_Width * BytesPerTexel();
    return m_HostCopy.data();
}

void CTracerTexture::Unlock()
{
    if (!m_Locked)
        return;
    m_Locked = false;
    if (IsTracerOutput())
        m_Texture->WritePixels(0, 0, m_UploadWidth, m_UploadHeight, m_HostCopy.data(),
                               m_Width * BytesPerTexel());
}

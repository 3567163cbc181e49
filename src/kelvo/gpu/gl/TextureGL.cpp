#include "kelvo/gpu/gl/TextureGL.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/gpu/gl/EffectGL.h"
#include "kelvo/gpu/gl/GLDevice.h"
#include "kelvo/gpu/gl/GLTexture2D.h"
#include "kelvo/gpu/gl/PictureFile.h"
#include "kelvo/gpu/gl/SamplerStages.h"
#include "platform/Log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
// Stages 0 to 260 have size variables: the pixel stages, the displacement stage and the four
// vertex-texture stages.
constexpr uint32_t kPublishedStageCount = 261;

struct SStageSizeVariables
{
    CVar* m_Width[kPublishedStageCount];
    CVar* m_Height[kPublishedStageCount];
    CVar* m_InverseWidth[kPublishedStageCount];
    CVar* m_InverseHeight[kPublishedStageCount];
};

// Created together on the first bind, then written through the kept pointers.
const SStageSizeVariables& StageSizeVariables()
{
    static const SStageSizeVariables* const s_Variables = [] {
        auto* variables = new SStageSizeVariables;
        char name[32];
        for (uint32_t stage = 0; stage < kPublishedStageCount; ++stage)
        {
            std::snprintf(name, sizeof(name), "%s_%i", "r_texw", static_cast<int>(stage));
            variables->m_Width[stage] = GetVariable(name, 4);
            std::snprintf(name, sizeof(name), "%s_%i", "r_texh", static_cast<int>(stage));
            variables->m_Height[stage] = GetVariable(name, 4);
            std::snprintf(name, sizeof(name), "%s_%i", "r_texdx", static_cast<int>(stage));
            variables->m_InverseWidth[stage] = GetVariable(name, 4);
            std::snprintf(name, sizeof(name), "%s_%i", "r_texdy", static_cast<int>(stage));
            variables->m_InverseHeight[stage] = GetVariable(name, 4);
        }
        return variables;
    }();
    return *s_Variables;
}
}

CTextureGL::CTextureGL(CGLDevice* device)
    : m_Device(device)
{
}

CTextureGL::~CTextureGL()
{
    Release();
}

bool CTextureGL::Release()
{
    delete m_Texture;
    m_Texture = nullptr;
    return true;
}

uint32_t CTextureGL::Load(const std::string& fileName)
{
    const std::string path = CResourceManager::Instance().GetPath(fileName);
    if (path.empty())
        return kGPUResultNotFound;
    SPicture picture;
    std::string reason;
    auto* texture = new CGLTexture2D;
    GLenum error = GL_NO_ERROR;
    if (!LoadPictureFile(path, picture, reason) ||
        !texture->CreateFromPicture(picture.m_Width, picture.m_Height, picture.m_Rgba.data(), error))
    {
        delete texture;
        if (reason.empty())
            reason = "the picture does not fit in a texture";
        DebugLog("[CTextureGL::Load] Failed to load texture! %s: %s\n", fileName.c_str(), reason.c_str());
        return kGPUResultLoadPicture;
    }
    Release();
    m_Texture = texture;
    m_Width = texture->GetWidth();
    m_Height = texture->GetHeight();
    m_Format = kTextureFormatFile;
    m_Levels = texture->GetLevelCount();
    m_RenderTarget = false;
    return kGPUResultOk;
}

uint32_t CTextureGL::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t format,
                                   bool renderTarget)
{
    if (format < kTextureFormatARGB8 || format > kTextureFormatRGBA32F)
        return kGPUResultBadFormat;
    auto* texture = new CGLTexture2D;
    GLenum error = GL_NO_ERROR;
    if (!texture->Create(width, height, format, renderTarget, error))
    {
        delete texture;
        DebugLog("[CTextureGL::CreateTexture] Failed to create texture! hr = %08x\n",
                 static_cast<unsigned>(error));
        return kGPUResultCreateTexture;
    }
    DebugLog("[CTextureGL::CreateTexture] Available tex mem %iMB!\n",
             static_cast<int>(m_Device->GetAvailableTextureMemory() >> 20));
    Release();
    m_Texture = texture;
    m_Width = width;
    m_Height = height;
    m_Levels = levels;
    m_Format = format;
    m_RenderTarget = renderTarget;
    return kGPUResultOk;
}

uint32_t CTextureGL::SetTexture(uint32_t stage)
{
    if (m_Texture == nullptr)
    {
        DebugLog("[CTextureGL::SetTexture] m_Texture is null!\n");
        return kGPUResultNoTexture;
    }
    if (!m_Device->SetTexture(stage, m_Texture))
    {
        DebugLog("[CTextureGL::SetTexture] Failed to set texture!hr = %i\n",
                 static_cast<int>(GL_INVALID_VALUE));
        return kGPUResultBindTexture;
    }
    PublishSize(stage);
    return kGPUResultOk;
}

void CTextureGL::PublishSize(uint32_t stage) const
{
    const SStageSizeVariables& variables = StageSizeVariables();
    if (stage >= kPublishedStageCount)
        return;
    variables.m_Width[stage]->SetUInt(m_Width);
    variables.m_Height[stage]->SetUInt(m_Height);
    // A zero size leaves the old inverse.
    if (m_Width != 0)
        variables.m_InverseWidth[stage]->SetFloat(1.0f / static_cast<float>(m_Width));
    if (m_Height != 0)
        variables.m_InverseHeight[stage]->SetFloat(1.0f / static_cast<float>(m_Height));
}

uint32_t CTextureGL::SetVertexTexture(uint32_t sampler)
{
    return SetTexture(kFirstVertexStage + sampler);
}

uint32_t CTextureGL::SetRenderTarget(uint32_t index)
{
    if (m_Texture == nullptr)
    {
        DebugLog("[CTextureGL::SetRenderTarget] m_Texture is null!\n");
        return kGPUResultNoTexture;
    }
    if (!m_Device->SetRenderTarget(index, m_Texture))
    {
        DebugLog("[CTextureGL::SetRenderTarget] Failed to set render target!hr = %08x\n",
                 static_cast<unsigned>(GL_INVALID_OPERATION));
        return kGPUResultSetRenderTarget;
    }
    return kGPUResultOk;
}

uint32_t CTextureGL::WritePixels(uint32_t x, uint32_t y, uint32_t width, uint32_t height, const void* source,
                                 uint32_t sourcePitch)
{
    if (m_Texture == nullptr)
        return kGPUResultNoTexture;
    CGLTexture2D::SLockedRect rect;
    const bool empty = width == 0 || height == 0;
    if ((source == nullptr && !empty) ||
        !m_Texture->Lock(0, x, y, width, height, CGLTexture2D::ELock::WriteOnly, rect))
        return kGPUResultLock;
    const uint32_t rowBytes = width * m_Texture->GetBytesPerTexel();
    const uint32_t copyBytes = std::min(rowBytes, rect.m_Pitch);
    const auto* sourceRow = static_cast<const uint8_t*>(source);
    for (uint32_t row = 0; row < height; ++row)
    {
        std::memcpy(rect.m_Bits + static_cast<std::size_t>(row) * rect.m_Pitch, sourceRow, copyBytes);
        sourceRow += sourcePitch;
    }
    m_Texture->Unlock();
    return kGPUResultOk;
}

uint32_t CTextureGL::ReadPixels(uint32_t level, uint32_t x, uint32_t y, uint32_t width, uint32_t height,
                                std::vector<uint32_t>& outTexels)
{
    if (m_Texture == nullptr)
        return kGPUResultNoTexture;
    if (width == 0 || height == 0)
    {
        outTexels.clear();
        return kGPUResultOk;
    }
    CGLTexture2D::SLockedRect rect;
    if (!m_Texture->Lock(level, x, y, width, height, CGLTexture2D::ELock::ReadOnly, rect))
        return kGPUResultLock;
    outTexels.assign(static_cast<std::size_t>(width) * height, 0);
    // Four bytes per texel whatever the format, never more than a locked row holds.
    const uint32_t copyBytes = std::min(width * 4, rect.m_Pitch);
    for (uint32_t row = 0; row < height; ++row)
        std::memcpy(outTexels.data() + static_cast<std::size_t>(row) * width,
                    rect.m_Bits + static_cast<std::size_t>(row) * rect.m_Pitch, copyBytes);
    m_Texture->Unlock();
    return kGPUResultOk;
}

uint32_t CTextureGL::GetInteropName() const
{
    return m_Texture != nullptr ? m_Texture->GetName() : 0;
}

uint32_t CTextureGL::ReadBack(std::vector<uint8_t>& outBytes)
{
    if (!m_RenderTarget)
        return kGPUResultNotRenderTarget;
    if (m_Texture == nullptr)
        return kGPUResultNoTexture;
    m_Texture->ReadLevel0(outBytes);
    return kGPUResultOk;
}

uint32_t CTextureGL::Clear()
{
    IGPUImplementation* backend = g_pGPUImplementation;
    if (backend == nullptr)
        return kGPUResultNoDevice;
    const uint32_t targetResult = SetRenderTarget(0);
    if (targetResult != kGPUResultOk)
        return targetResult;
    uint32_t savedFillMode = 2;
    backend->GetFillMode(savedFillMode);
    backend->SetFillMode(2);
    backend->SetViewport(0, 0, m_Width, m_Height, 0.0f, 1.0f);

    // The unit quad stands in for the mesh "bilboard" until meshes can be drawn.
    uint32_t result = kGPUResultNotFound;
    if (const GPUObjectHandle* handle = backend->FindByName("default", kGPUObjectEffect))
    {
        const GPUObjectHandle effectHandle = *handle;
        if (auto* effect = GPUResourceCast<CEffectGL>(backend->GetResource(effectHandle)))
        {
            SetTechnique("clear_tex");
            SetPass("P0");
            result = effect->Begin();
            if (result == kGPUResultOk)
            {
                m_Device->DrawUnitQuad();
                result = effect->End();
            }
        }
        backend->ReleaseResource(&effectHandle);
    }
    backend->SetDefaultRenderTarget();
    backend->SetFillMode(savedFillMode);
    return result;
}

void CTextureGL::GetDesc(uint32_t& outWidth, uint32_t& outHeight, uint32_t& outLevels,
                         uint32_t& outFormat) const
{
    outWidth = m_Width;
    outHeight = m_Height;
    outLevels = m_Levels;
    outFormat = m_Format;
}

bool CTextureGL::GetLevelSize(uint32_t level, uint32_t& outWidth, uint32_t& outHeight) const
{
    return m_Texture != nullptr && m_Texture->GetLevelSize(level, outWidth, outHeight);
}

#include "kelvo/gpu/Material.h"

#include "kelvo/gpu/GPUEffect.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/MaterialRecord.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "platform/Log.h"

#include <algorithm>
#include <cstring>

CMaterial::~CMaterial()
{
    ReleaseReferences();
}

void CMaterial::ReleaseReferences()
{
    if (g_pGPUImplementation == nullptr)
        return;
    g_pGPUImplementation->ReleaseResource(&m_EffectHandle);
    for (const GPUObjectHandle& handle : m_TextureHandles)
        g_pGPUImplementation->ReleaseResource(&handle);
}

void CMaterial::Setup(const std::string& effect, const std::string& technique,
                      const std::vector<std::string>& pixelTextures,
                      const std::vector<std::string>& vertexTextures)
{
    // A material set up again gives back what its last set-up held.
    ReleaseReferences();
    m_TextureHandles.fill(GPUObjectHandle());
    m_Textures.fill(nullptr);
    m_EffectName = effect;
    m_EffectHandle = GPUObjectHandle();
    m_Effect = nullptr;
    if (g_pGPUImplementation != nullptr &&
        g_pGPUImplementation->LoadEffect(effect, m_EffectHandle) == kGPUResultOk)
        m_Effect = GPUResourceCast<IGPUEffect>(g_pGPUImplementation->GetResource(m_EffectHandle));
    m_Technique = technique;

    m_PixelTextureCount = std::min(kMaxPixelTextures, static_cast<uint32_t>(pixelTextures.size()));
    for (uint32_t i = 0; i < m_PixelTextureCount; ++i)
        LoadTextureEntry(i, pixelTextures[i]);
    m_VertexTextureCount = std::min(kMaxVertexTextures, static_cast<uint32_t>(vertexTextures.size()));
    for (uint32_t j = 0; j < m_VertexTextureCount; ++j)
        LoadTextureEntry(m_PixelTextureCount + j, vertexTextures[j]);
}

void CMaterial::SetVector(const std::string& name, const float value[4])
{
    SetValue(name, value, 16);
}

void CMaterial::SetFloat(const std::string& name, float value)
{
    SetValue(name, &value, 4);
}

bool CMaterial::ReadFromFile(CByteReader& reader)
{
    SMaterialRecord record;
    if (!ReadMaterialRecord(reader, record))
        return false;
    for (SMaterialVariable& variable : record.m_Variables)
    {
        const auto size = static_cast<uint32_t>(variable.m_Value.size());
        m_Variables.push_back(
            {variable.m_Name, std::move(variable.m_Value), "", GetVariable(variable.m_Name, size)});
    }
    Setup(record.m_Effect, record.m_Technique, record.m_PixelTextures, record.m_VertexTextures);
    return true;
}

uint32_t CMaterial::Begin()
{
    SetTechnique(m_Technique);
    for (const SVariable& variable : m_Variables)
    {
        if (variable.m_Target->GetSize() != variable.m_Value.size())
        {
            DebugLog("[CMaterial::Begin] Bad variable size!\n");
            continue;
        }
        if (!variable.m_Value.empty())
            std::memcpy(variable.m_Target->GetData(), variable.m_Value.data(), variable.m_Value.size());
        variable.m_Target->SetText(variable.m_Text);
    }
    if (m_Effect == nullptr)
        return kGPUResultNoEffect;

    // The pixel stages take the combined array, so with fewer than eight pixel textures the
    // vertex textures that follow are bound to the next pixel stages too.
    for (uint32_t stage = 0; stage < kMaxPixelTextures; ++stage)
    {
        if (m_Textures[stage] != nullptr)
            m_Textures[stage]->SetTexture(stage);
        else
            g_pGPUImplementation->ResetTexture(stage);
    }
    for (uint32_t j = 0; j < m_VertexTextureCount; ++j)
        if (IGPUTexture* texture = m_Textures[m_PixelTextureCount + j])
            texture->SetVertexTexture(j);
    return m_Effect->Begin();
}

uint32_t CMaterial::End()
{
    return m_Effect == nullptr ? kGPUResultNoEffect : m_Effect->End();
}

void CMaterial::SetValue(const std::string& name, const void* value, uint32_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(value);
    for (SVariable& variable : m_Variables)
        if (variable.m_Name == name)
        {
            variable.m_Value.assign(bytes, bytes + size);
            return;
        }
    m_Variables.push_back({name, {bytes, bytes + size}, "", GetVariable(name, size)});
}

void CMaterial::LoadTextureEntry(uint32_t index, const std::string& name)
{
    m_TextureNames[index] = name;
    m_TextureHandles[index] = GPUObjectHandle();
    m_Textures[index] = nullptr;
    if (g_pGPUImplementation != nullptr &&
        g_pGPUImplementation->LoadTexture(name, m_TextureHandles[index]) == kGPUResultOk)
        m_Textures[index] =
            GPUResourceCast<IGPUTexture>(g_pGPUImplementation->GetResource(m_TextureHandles[index]));
}

#include "kelvo/gpu/gl/EffectSource.h"

uint32_t SEffectParameterSource::GetByteSize() const
{
    static constexpr uint32_t kElementBytes[] = {4, 8, 12, 16, 64, 4, 4};
    const uint32_t element = kElementBytes[static_cast<int>(m_Type)];
    return m_ArraySize == 0 ? element : element * m_ArraySize;
}

CGLDevice::SRenderStates SPassStates::AppliedTo(CGLDevice::SRenderStates states) const
{
    states.m_BlendEnable = m_BlendEnable.value_or(states.m_BlendEnable);
    states.m_SourceBlend = m_SourceBlend.value_or(states.m_SourceBlend);
    states.m_DestBlend = m_DestBlend.value_or(states.m_DestBlend);
    states.m_DepthEnable = m_DepthEnable.value_or(states.m_DepthEnable);
    states.m_DepthWrite = m_DepthWrite.value_or(states.m_DepthWrite);
    states.m_CullMode = m_CullMode.value_or(states.m_CullMode);
    return states;
}

const SEffectAnnotationSource* SEffectTechniqueSource::FindAnnotation(const std::string& name) const
{
    for (const SEffectAnnotationSource& annotation : m_Annotations)
        if (annotation.m_Name == name)
            return &annotation;
    return nullptr;
}

const SEffectShaderSource* SEffectSource::FindShader(EShaderStage stage, const std::string& name) const
{
    for (const SEffectShaderSource& shader : m_Shaders)
        if (shader.m_Stage == stage && shader.m_Name == name)
            return &shader;
    return nullptr;
}

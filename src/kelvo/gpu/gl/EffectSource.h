// An effect file as the parser reads it: top-level parameters with their byte sizes,
// samplers by stage, GLSL shader blocks, and techniques with annotations and passes.
// The effect language (files ".e"):
//
//   float4 r_color;  float4x4 r_world;  float weights[4];     parameters (uniforms)
//   sampler g_tex : stage(0);                                  sampler of a texture stage
//   common { GLSL }                                            code shared by both stages
//   vertex_shader vs_name { GLSL with main() }                 vertex entry point
//   pixel_shader ps_name { GLSL with main() }                  fragment entry point
//   technique name < string params = "r_color r_world"; >     annotations are optional
//   { pass P0 { VertexShader = vs_name; PixelShader = ps_name; ZEnable = false; } }
//
// Comments are // and /* */. Vertex shaders see the inputs in_position, in_normal,
// in_color0/1, in_texcoord0..7, in_psize, in_blendweight, in_blendindices (all vec4).
#pragma once

#include "kelvo/gpu/gl/GLDevice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class EEffectParameterType : uint8_t
{
    Float,
    Float2,
    Float3,
    Float4,
    Float4x4,
    UInt,
    Int
};

struct SEffectParameterSource
{
    std::string m_Name;
    EEffectParameterType m_Type = EEffectParameterType::Float;
    uint32_t m_ArraySize = 0; // 0: not an array
    uint32_t m_Line = 0;

    // Bytes of one element times the array size.
    uint32_t GetByteSize() const;
};

struct SEffectSamplerSource
{
    std::string m_Name;
    uint32_t m_Stage = 0;
    uint32_t m_Line = 0;
};

enum class EShaderStage : uint8_t
{
    Common,
    Vertex,
    Pixel
};

struct SEffectShaderSource
{
    EShaderStage m_Stage = EShaderStage::Common;
    std::string m_Name; // empty for common code
    std::string m_Code;
    uint32_t m_Line = 0; // file line of the code's first character
};

enum class EAnnotationType : uint8_t
{
    String,
    Float,
    Int,
    Bool
};

struct SEffectAnnotationSource
{
    EAnnotationType m_Type = EAnnotationType::String;
    std::string m_Name;
    std::string m_Value; // the string's text, or the number or bool as written
};

// The render states a pass sets; those left empty keep the device's value.
struct SPassStates
{
    std::optional<bool> m_BlendEnable;
    std::optional<CGLDevice::EBlendFactor> m_SourceBlend;
    std::optional<CGLDevice::EBlendFactor> m_DestBlend;
    std::optional<bool> m_DepthEnable;
    std::optional<bool> m_DepthWrite;
    std::optional<CGLDevice::ECullMode> m_CullMode;

    CGLDevice::SRenderStates AppliedTo(CGLDevice::SRenderStates states) const;
};

struct SEffectPassSource
{
    std::string m_Name;
    std::string m_VertexShader;
    std::string m_PixelShader;
    SPassStates m_States;
    uint32_t m_Line = 0;
};

struct SEffectTechniqueSource
{
    std::string m_Name;
    std::vector<SEffectAnnotationSource> m_Annotations;
    std::vector<SEffectPassSource> m_Passes;
    uint32_t m_Line = 0;

    // The annotation of that name, or null.
    const SEffectAnnotationSource* FindAnnotation(const std::string& name) const;
};

struct SEffectSource
{
    std::vector<SEffectParameterSource> m_Parameters;
    std::vector<SEffectSamplerSource> m_Samplers;
    std::vector<SEffectShaderSource> m_Shaders;
    std::vector<SEffectTechniqueSource> m_Techniques;

    const SEffectShaderSource* FindShader(EShaderStage stage, const std::string& name) const;
};

#include "kelvo/gpu/gl/EffectParser.h"

#include "kelvo/gpu/gl/SamplerStages.h"

#include <cstdlib>
#include <map>

namespace
{
// Longest array a parameter may declare; keeps byte sizes far from overflow.
constexpr uint32_t kMaxArraySize = 4096;

const std::map<std::string, EEffectParameterType> kParameterTypes = {
    {"float", EEffectParameterType::Float},       {"float2", EEffectParameterType::Float2},
    {"float3", EEffectParameterType::Float3},     {"float4", EEffectParameterType::Float4},
    {"float4x4", EEffectParameterType::Float4x4}, {"uint", EEffectParameterType::UInt},
    {"int", EEffectParameterType::Int},
};

const std::map<std::string, EAnnotationType> kAnnotationTypes = {
    {"string", EAnnotationType::String},
    {"float", EAnnotationType::Float},
    {"int", EAnnotationType::Int},
    {"bool", EAnnotationType::Bool},
};

const std::map<std::string, CGLDevice::EBlendFactor> kBlendFactors = {
    {"Zero", CGLDevice::EBlendFactor::Zero},
    {"One", CGLDevice::EBlendFactor::One},
    {"SrcColor", CGLDevice::EBlendFactor::SrcColor},
    {"InvSrcColor", CGLDevice::EBlendFactor::InvSrcColor},
    {"SrcAlpha", CGLDevice::EBlendFactor::SrcAlpha},
    {"InvSrcAlpha", CGLDevice::EBlendFactor::InvSrcAlpha},
    {"DestAlpha", CGLDevice::EBlendFactor::DestAlpha},
    {"InvDestAlpha", CGLDevice::EBlendFactor::InvDestAlpha},
    {"DestColor", CGLDevice::EBlendFactor::DestColor},
    {"InvDestColor", CGLDevice::EBlendFactor::InvDestColor},
};

const std::map<std::string, CGLDevice::ECullMode> kCullModes = {
    {"None", CGLDevice::ECullMode::None},
    {"CW", CGLDevice::ECullMode::Clockwise},
    {"CCW", CGLDevice::ECullMode::CounterClockwise},
};
}

CEffectParser::CEffectParser(const std::string& text, const std::string& fileName)
    : m_Lexer(text)
    , m_FileName(fileName)
{
}

bool CEffectParser::Fail(uint32_t line, const std::string& reason)
{
    if (m_Error.empty())
        m_Error = m_FileName + "(" + std::to_string(line) + "): error: " + reason;
    return false;
}

bool CEffectParser::Fail(const std::string& reason)
{
    if (m_Token.m_Kind == EEffectToken::End)
        return Fail(m_Token.m_Line, reason + " at the end of the file");
    return Fail(m_Token.m_Line, reason + " before '" + m_Token.m_Text + "'");
}

bool CEffectParser::Advance()
{
    m_Token = m_Lexer.Next();
    if (m_Token.m_Kind == EEffectToken::Error)
        return Fail(m_Token.m_Line, m_Token.m_Text);
    return true;
}

bool CEffectParser::Expect(char symbol)
{
    if (!m_Token.Is(symbol))
        return Fail(std::string("expected '") + symbol + "'");
    return Advance();
}

bool CEffectParser::ExpectIdentifier(std::string& outName)
{
    if (m_Token.m_Kind != EEffectToken::Identifier)
        return Fail("expected a name");
    outName = m_Token.m_Text;
    return Advance();
}

bool CEffectParser::ExpectUnsigned(uint32_t& outValue)
{
    const std::string& text = m_Token.m_Text;
    if (m_Token.m_Kind != EEffectToken::Number || text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return Fail("expected a whole number");
    outValue = static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 10));
    return Advance();
}

bool CEffectParser::ExpectBool(bool& outValue)
{
    if (m_Token.m_Kind == EEffectToken::Identifier && (m_Token.m_Text == "true" || m_Token.m_Text == "false"))
    {
        outValue = m_Token.m_Text == "true";
        return Advance();
    }
    return Fail("expected true or false");
}

bool CEffectParser::CheckNewGlobalName(const SEffectSource& source, const std::string& name)
{
    for (const SEffectParameterSource& parameter : source.m_Parameters)
        if (parameter.m_Name == name)
            return Fail(m_Token.m_Line, "'" + name + "' is already declared");
    for (const SEffectSamplerSource& sampler : source.m_Samplers)
        if (sampler.m_Name == name)
            return Fail(m_Token.m_Line, "'" + name + "' is already declared");
    return true;
}

bool CEffectParser::Parse(SEffectSource& outSource, std::string& outError)
{
    bool ok = Advance();
    while (ok && m_Token.m_Kind != EEffectToken::End)
    {
        const std::string word = m_Token.m_Kind == EEffectToken::Identifier ? m_Token.m_Text : "";
        if (kParameterTypes.count(word) != 0)
            ok = ParseParameter(outSource);
        else if (word == "sampler")
            ok = ParseSampler(outSource);
        else if (word == "common")
            ok = ParseShader(outSource, EShaderStage::Common);
        else if (word == "vertex_shader")
            ok = ParseShader(outSource, EShaderStage::Vertex);
        else if (word == "pixel_shader")
            ok = ParseShader(outSource, EShaderStage::Pixel);
        else if (word == "technique")
            ok = ParseTechnique(outSource);
        else
            ok = Fail("expected a parameter, sampler, shader or technique");
    }
    outError = m_Error;
    return ok;
}

bool CEffectParser::ParseParameter(SEffectSource& source)
{
    SEffectParameterSource parameter;
    parameter.m_Type = kParameterTypes.at(m_Token.m_Text);
    parameter.m_Line = m_Token.m_Line;
    if (!Advance() || !ExpectIdentifier(parameter.m_Name))
        return false;
    if (!CheckNewGlobalName(source, parameter.m_Name))
        return false;
    if (m_Token.Is('['))
    {
        if (!Advance() || !ExpectUnsigned(parameter.m_ArraySize))
            return false;
        if (parameter.m_ArraySize == 0 || parameter.m_ArraySize > kMaxArraySize)
            return Fail(parameter.m_Line, "array size of '" + parameter.m_Name + "' must be 1 to " +
                                              std::to_string(kMaxArraySize));
        if (!Expect(']'))
            return false;
    }
    if (!Expect(';'))
        return false;
    source.m_Parameters.push_back(parameter);
    return true;
}

bool CEffectParser::ParseSampler(SEffectSource& source)
{
    SEffectSamplerSource sampler;
    sampler.m_Line = m_Token.m_Line;
    if (!Advance() || !ExpectIdentifier(sampler.m_Name))
        return false;
    if (!CheckNewGlobalName(source, sampler.m_Name))
        return false;
    std::string keyword;
    if (!Expect(':') || !ExpectIdentifier(keyword))
        return false;
    if (keyword != "stage")
        return Fail(sampler.m_Line, "expected 'stage' after ':'");
    if (!Expect('(') || !ExpectUnsigned(sampler.m_Stage) || !Expect(')') || !Expect(';'))
        return false;
    if (!TextureUnitOfStage(sampler.m_Stage))
        return Fail(sampler.m_Line, "sampler '" + sampler.m_Name + "' names no stage (0 to 7 or 257 to 260)");
    source.m_Samplers.push_back(sampler);
    return true;
}

bool CEffectParser::ParseShader(SEffectSource& source, EShaderStage stage)
{
    SEffectShaderSource shader;
    shader.m_Stage = stage;
    const uint32_t line = m_Token.m_Line;
    if (!Advance())
        return false;
    if (stage != EShaderStage::Common)
    {
        if (!ExpectIdentifier(shader.m_Name))
            return false;
        if (source.FindShader(stage, shader.m_Name) != nullptr)
            return Fail(line, "shader '" + shader.m_Name + "' is already defined");
    }
    // The lexer stands right after the '{'; the body is taken raw.
    if (!m_Token.Is('{'))
        return Fail("expected '{'");
    if (!m_Lexer.ReadRawBlock(shader.m_Code, shader.m_Line))
        return Fail(line, "shader body not closed");
    source.m_Shaders.push_back(std::move(shader));
    return Advance();
}

bool CEffectParser::ParseTechnique(SEffectSource& source)
{
    SEffectTechniqueSource technique;
    technique.m_Line = m_Token.m_Line;
    if (!Advance() || !ExpectIdentifier(technique.m_Name))
        return false;
    for (const SEffectTechniqueSource& other : source.m_Techniques)
        if (other.m_Name == technique.m_Name)
            return Fail(technique.m_Line, "technique '" + technique.m_Name + "' is already defined");
    if (m_Token.Is('<') && !ParseAnnotations(technique))
        return false;
    if (!Expect('{'))
        return false;
    while (!m_Token.Is('}'))
    {
        if (m_Token.m_Kind != EEffectToken::Identifier || m_Token.m_Text != "pass")
            return Fail("expected 'pass' or '}'");
        if (!ParsePass(technique))
            return false;
    }
    source.m_Techniques.push_back(std::move(technique));
    return Advance();
}

bool CEffectParser::ParseAnnotations(SEffectTechniqueSource& technique)
{
    if (!Advance())
        return false;
    while (!m_Token.Is('>'))
    {
        const auto type = m_Token.m_Kind == EEffectToken::Identifier ? kAnnotationTypes.find(m_Token.m_Text)
                                                                     : kAnnotationTypes.end();
        if (type == kAnnotationTypes.end())
            return Fail("expected an annotation type (string, float, int, bool) or '>'");
        SEffectAnnotationSource annotation;
        annotation.m_Type = type->second;
        if (!Advance() || !ExpectIdentifier(annotation.m_Name) || !Expect('='))
            return false;
        const bool negative = m_Token.Is('-');
        if (negative && !Advance())
            return false;
        const EEffectToken kind = m_Token.m_Kind;
        const bool isBool =
            kind == EEffectToken::Identifier && (m_Token.m_Text == "true" || m_Token.m_Text == "false");
        const bool fits =
            (annotation.m_Type == EAnnotationType::String && kind == EEffectToken::String && !negative) ||
            (annotation.m_Type == EAnnotationType::Bool && isBool && !negative) ||
            ((annotation.m_Type == EAnnotationType::Float || annotation.m_Type == EAnnotationType::Int) &&
             kind == EEffectToken::Number);
        if (!fits)
            return Fail("value does not fit annotation '" + annotation.m_Name + "'");
        annotation.m_Value = (negative ? "-" : "") + m_Token.m_Text;
        if (!Advance() || !Expect(';'))
            return false;
        technique.m_Annotations.push_back(std::move(annotation));
    }
    return Advance();
}

bool CEffectParser::ParsePass(SEffectTechniqueSource& technique)
{
    SEffectPassSource pass;
    pass.m_Line = m_Token.m_Line;
    if (!Advance() || !ExpectIdentifier(pass.m_Name) || !Expect('{'))
        return false;
    while (!m_Token.Is('}'))
        if (!ParsePassState(pass))
            return false;
    if (pass.m_VertexShader.empty() || pass.m_PixelShader.empty())
        return Fail(pass.m_Line, "pass '" + pass.m_Name + "' needs a VertexShader and a PixelShader");
    technique.m_Passes.push_back(std::move(pass));
    return Advance();
}

bool CEffectParser::ParsePassState(SEffectPassSource& pass)
{
    std::string state;
    const uint32_t line = m_Token.m_Line;
    if (!ExpectIdentifier(state) || !Expect('='))
        return false;
    SPassStates& states = pass.m_States;
    bool flag = false;
    std::string value;
    if (state == "VertexShader" || state == "PixelShader")
    {
        if (!ExpectIdentifier(value))
            return false;
        (state == "VertexShader" ? pass.m_VertexShader : pass.m_PixelShader) = value;
    }
    else if (state == "AlphaBlendEnable" || state == "ZEnable" || state == "ZWriteEnable")
    {
        if (!ExpectBool(flag))
            return false;
        if (state == "AlphaBlendEnable")
            states.m_BlendEnable = flag;
        else if (state == "ZEnable")
            states.m_DepthEnable = flag;
        else
            states.m_DepthWrite = flag;
    }
    else if (state == "SrcBlend" || state == "DestBlend")
    {
        if (!ExpectIdentifier(value))
            return false;
        const auto factor = kBlendFactors.find(value);
        if (factor == kBlendFactors.end())
            return Fail(line, "unknown blend factor '" + value + "'");
        (state == "SrcBlend" ? states.m_SourceBlend : states.m_DestBlend) = factor->second;
    }
    else if (state == "CullMode")
    {
        if (!ExpectIdentifier(value))
            return false;
        const auto mode = kCullModes.find(value);
        if (mode == kCullModes.end())
            return Fail(line, "unknown cull mode '" + value + "' (None, CW, CCW)");
        states.m_CullMode = mode->second;
    }
    else
        return Fail(line, "unknown pass state '" + state + "'");
    return Expect(';');
}

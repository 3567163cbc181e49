#include "kelvo/gpu/gl/GLEffect.h"

#include "kelvo/gpu/gl/EffectParser.h"
#include "kelvo/gpu/gl/GLDevice.h"

#include <cstring>

CGLEffect::CGLEffect(CGLDevice* device)
    : m_Device(device)
{
}

CGLEffect::~CGLEffect()
{
    if (m_PassActive)
        EndPass();
}

bool CGLEffect::Compile(const std::string& text, const std::string& fileName, std::string& outError)
{
    SEffectSource source;
    CEffectParser parser(text, fileName);
    if (!parser.Parse(source, outError))
        return false;

    std::vector<std::vector<std::unique_ptr<CGLProgram>>> programs;
    for (const SEffectTechniqueSource& technique : source.m_Techniques)
    {
        auto& passPrograms = programs.emplace_back();
        for (const SEffectPassSource& pass : technique.m_Passes)
        {
            const SEffectShaderSource* vertex = source.FindShader(EShaderStage::Vertex, pass.m_VertexShader);
            const SEffectShaderSource* pixel = source.FindShader(EShaderStage::Pixel, pass.m_PixelShader);
            const std::string where = fileName + "(" + std::to_string(pass.m_Line) + "): error: ";
            if (vertex == nullptr)
            {
                outError = where + "no vertex_shader '" + pass.m_VertexShader + "'";
                return false;
            }
            if (pixel == nullptr)
            {
                outError = where + "no pixel_shader '" + pass.m_PixelShader + "'";
                return false;
            }
            auto program = std::make_unique<CGLProgram>();
            if (!program->Build(source, *vertex, *pixel, fileName, outError))
                return false;
            passPrograms.push_back(std::move(program));
        }
    }

    m_Source = std::move(source);
    m_Programs = std::move(programs);
    m_Values.clear();
    for (const SEffectParameterSource& parameter : m_Source.m_Parameters)
        m_Values.emplace_back(parameter.GetByteSize(), uint8_t{0});
    return true;
}

int CGLEffect::FindParameter(const std::string& name) const
{
    for (std::size_t i = 0; i < m_Source.m_Parameters.size(); ++i)
        if (m_Source.m_Parameters[i].m_Name == name)
            return static_cast<int>(i);
    return -1;
}

int CGLEffect::FindTechnique(const std::string& name) const
{
    for (std::size_t i = 0; i < m_Source.m_Techniques.size(); ++i)
        if (m_Source.m_Techniques[i].m_Name == name)
            return static_cast<int>(i);
    return -1;
}

bool CGLEffect::SetValue(const std::string& name, const void* data, uint32_t size)
{
    const int index = FindParameter(name);
    if (index < 0 || data == nullptr || size != m_Values[static_cast<std::size_t>(index)].size())
        return false;
    std::memcpy(m_Values[static_cast<std::size_t>(index)].data(), data, size);
    return true;
}

std::vector<uint8_t> CGLEffect::GetValue(const std::string& name) const
{
    const int index = FindParameter(name);
    return index < 0 ? std::vector<uint8_t>{} : m_Values[static_cast<std::size_t>(index)];
}

bool CGLEffect::BeginPass(uint32_t technique, uint32_t pass)
{
    if (m_PassActive || technique >= m_Programs.size() || pass >= m_Programs[technique].size())
        return false;
    m_SavedStates = m_Device->GetRenderStates();
    m_Device->SetRenderStates(
        m_Source.m_Techniques[technique].m_Passes[pass].m_States.AppliedTo(m_SavedStates));
    const CGLProgram& program = *m_Programs[technique][pass];
    glUseProgram(program.GetName());
    UploadParameters(program);
    m_PassActive = true;
    return true;
}

bool CGLEffect::EndPass()
{
    if (!m_PassActive)
        return false;
    glUseProgram(0);
    m_Device->SetRenderStates(m_SavedStates);
    m_PassActive = false;
    return true;
}

void CGLEffect::UploadParameters(const CGLProgram& program) const
{
    for (std::size_t i = 0; i < m_Source.m_Parameters.size(); ++i)
    {
        const GLint location = program.GetParameterLocation(i);
        if (location < 0)
            continue;
        const SEffectParameterSource& parameter = m_Source.m_Parameters[i];
        const GLsizei count = static_cast<GLsizei>(parameter.m_ArraySize == 0 ? 1 : parameter.m_ArraySize);
        const void* bytes = m_Values[i].data();
        const auto* floats = static_cast<const GLfloat*>(bytes);
        switch (parameter.m_Type)
        {
        case EEffectParameterType::Float:
            glUniform1fv(location, count, floats);
            break;
        case EEffectParameterType::Float2:
            glUniform2fv(location, count, floats);
            break;
        case EEffectParameterType::Float3:
            glUniform3fv(location, count, floats);
            break;
        case EEffectParameterType::Float4:
            glUniform4fv(location, count, floats);
            break;
        // Rows of the layer's matrices become GLSL columns: shaders write M * v.
        case EEffectParameterType::Float4x4:
            glUniformMatrix4fv(location, count, GL_FALSE, floats);
            break;
        case EEffectParameterType::UInt:
            glUniform1uiv(location, count, static_cast<const GLuint*>(bytes));
            break;
        case EEffectParameterType::Int:
            glUniform1iv(location, count, static_cast<const GLint*>(bytes));
            break;
        }
    }
}

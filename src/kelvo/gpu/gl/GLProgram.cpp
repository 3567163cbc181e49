#include "kelvo/gpu/gl/GLProgram.h"

#include "kelvo/gpu/gl/SamplerStages.h"
#include "kelvo/gpu/gl/VertexDeclaration.h"

#include <cctype>

namespace
{
const char* GlslType(EEffectParameterType type)
{
    switch (type)
    {
    case EEffectParameterType::Float:
        return "float";
    case EEffectParameterType::Float2:
        return "vec2";
    case EEffectParameterType::Float3:
        return "vec3";
    case EEffectParameterType::Float4:
        return "vec4";
    case EEffectParameterType::Float4x4:
        return "mat4";
    case EEffectParameterType::UInt:
        return "uint";
    case EEffectParameterType::Int:
        return "int";
    }
    return "float";
}

// The declarations both stages share: parameters and samplers.
std::string Declarations(const SEffectSource& source)
{
    std::string text;
    for (const SEffectParameterSource& parameter : source.m_Parameters)
    {
        text.append("uniform ").append(GlslType(parameter.m_Type)).append(" ").append(parameter.m_Name);
        if (parameter.m_ArraySize != 0)
            text.append("[").append(std::to_string(parameter.m_ArraySize)).append("]");
        text += ";\n";
    }
    for (const SEffectSamplerSource& sampler : source.m_Samplers)
        text.append("uniform sampler2D ").append(sampler.m_Name).append(";\n");
    return text;
}

std::string LineDirective(uint32_t line)
{
    return "#line " + std::to_string(line) + "\n";
}

std::string StageSource(const SEffectSource& source, const SEffectShaderSource& entry)
{
    std::string text = "#version 330 core\n" + Declarations(source);
    const bool vertex = entry.m_Stage == EShaderStage::Vertex;
    if (vertex)
        for (uint32_t location = 0; location < kVertexAttributeCount; ++location)
            text += "layout(location = " + std::to_string(location) + ") in vec4 " +
                    VertexAttributeName(location) + ";\n";
    for (const SEffectShaderSource& shader : source.m_Shaders)
        if (shader.m_Stage == EShaderStage::Common)
            text += LineDirective(shader.m_Line) + shader.m_Code + "\n";
    if (!vertex)
        return text + LineDirective(entry.m_Line) + entry.m_Code + "\n";
    // The entry's main is renamed so that the flip runs after it.
    return text + "#define main kelvo_vertex_entry\n" + LineDirective(entry.m_Line) + entry.m_Code +
           "\n#undef main\n" + "void main() { kelvo_vertex_entry(); gl_Position.y = -gl_Position.y; }\n";
}

// Digits at position; advances past them. False when there are none.
bool SkipDigits(const std::string& text, std::size_t& position)
{
    const std::size_t start = position;
    while (position < text.size() && std::isdigit(static_cast<unsigned char>(text[position])))
        ++position;
    return position > start;
}

// The file line named at the start of a driver message line, and where the message proper
// begins: Mesa writes "0:12(5): ", others "0(12) : ".
bool DriverLinePrefix(const std::string& line, std::string& outLine, std::size_t& outRest)
{
    std::size_t position = 0;
    if (!SkipDigits(line, position) || position >= line.size())
        return false;
    std::size_t lineStart = position + 1;
    std::size_t lineEnd = lineStart;
    if (line[position] == ':')
    {
        if (!SkipDigits(line, lineEnd) || line.compare(lineEnd, 1, "(") != 0)
            return false;
        position = lineEnd + 1;
        if (!SkipDigits(line, position) || line.compare(position, 3, "): ") != 0)
            return false;
        outRest = position + 3;
    }
    else if (line[position] == '(')
    {
        if (!SkipDigits(line, lineEnd) || line.compare(lineEnd, 4, ") : ") != 0)
            return false;
        outRest = lineEnd + 4;
    }
    else
        return false;
    outLine = line.substr(lineStart, lineEnd - lineStart);
    return true;
}

// Driver messages with their lines written as "file(line): message".
std::string WithFileLines(const std::string& log, const std::string& fileName)
{
    std::string result;
    std::size_t start = 0;
    while (start < log.size())
    {
        std::size_t end = log.find('\n', start);
        end = end == std::string::npos ? log.size() : end + 1;
        const std::string line = log.substr(start, end - start);
        std::string number;
        std::size_t rest = 0;
        if (DriverLinePrefix(line, number, rest))
            result += fileName + "(" + number + "): " + line.substr(rest);
        else
            result += line;
        start = end;
    }
    return result;
}

GLuint CompileStage(GLenum type, const std::string& text, const std::string& what,
                    const std::string& fileName, std::string& outError)
{
    const GLuint shader = glCreateShader(type);
    const char* sources[] = {text.c_str()};
    glShaderSource(shader, 1, sources, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE)
        return shader;
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    log.resize(log.find('\0') == std::string::npos ? log.size() : log.find('\0'));
    outError = what + " does not compile:\n" + WithFileLines(log, fileName);
    glDeleteShader(shader);
    return 0;
}
}

CGLProgram::~CGLProgram()
{
    if (m_Name != 0)
        glDeleteProgram(m_Name);
}

bool CGLProgram::Build(const SEffectSource& source, const SEffectShaderSource& vertex,
                       const SEffectShaderSource& pixel, const std::string& fileName, std::string& outError)
{
    const GLuint vertexShader = CompileStage(GL_VERTEX_SHADER, StageSource(source, vertex),
                                             "vertex shader '" + vertex.m_Name + "'", fileName, outError);
    if (vertexShader == 0)
        return false;
    const GLuint pixelShader = CompileStage(GL_FRAGMENT_SHADER, StageSource(source, pixel),
                                            "pixel shader '" + pixel.m_Name + "'", fileName, outError);
    if (pixelShader == 0)
    {
        glDeleteShader(vertexShader);
        return false;
    }
    m_Name = glCreateProgram();
    glAttachShader(m_Name, vertexShader);
    glAttachShader(m_Name, pixelShader);
    glLinkProgram(m_Name);
    glDeleteShader(vertexShader);
    glDeleteShader(pixelShader);
    GLint linked = GL_FALSE;
    glGetProgramiv(m_Name, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
    {
        GLint length = 0;
        glGetProgramiv(m_Name, GL_INFO_LOG_LENGTH, &length);
        std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
        glGetProgramInfoLog(m_Name, length, nullptr, log.data());
        log.resize(log.find('\0') == std::string::npos ? log.size() : log.find('\0'));
        outError =
            fileName + ": shaders '" + vertex.m_Name + "' and '" + pixel.m_Name + "' do not link:\n" + log;
        glDeleteProgram(m_Name);
        m_Name = 0;
        return false;
    }

    m_ParameterLocations.clear();
    for (const SEffectParameterSource& parameter : source.m_Parameters)
        m_ParameterLocations.push_back(glGetUniformLocation(m_Name, parameter.m_Name.c_str()));
    // Samplers read their stage's unit for the program's whole life.
    GLint previous = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
    glUseProgram(m_Name);
    for (const SEffectSamplerSource& sampler : source.m_Samplers)
        glUniform1i(glGetUniformLocation(m_Name, sampler.m_Name.c_str()),
                    static_cast<GLint>(*TextureUnitOfStage(sampler.m_Stage)));
    glUseProgram(static_cast<GLuint>(previous));
    return true;
}

// One GL program built from an effect pass: the effect's parameters become uniforms, its
// samplers sampler2D uniforms on their stage's unit, the vertex inputs fixed attributes,
// then the common code and the pass's shader blocks follow with #line directives, so that
// driver messages carry the effect file's line numbers. The vertex entry's clip y is negated
// after it returns: targets keep row 0 on top (see CGLDevice).
// Needs the GL context current; owned by the compiled effect.
#pragma once

#include "kelvo/gpu/gl/EffectSource.h"

#include <epoxy/gl.h>

#include <string>
#include <vector>

class CGLProgram
{
public:
    CGLProgram() = default;
    CGLProgram(const CGLProgram&) = delete;
    CGLProgram& operator=(const CGLProgram&) = delete;
    ~CGLProgram();

    // Compiles and links the two shader blocks of a pass. False with outError holding
    // "file(line): message" lines from the driver, or the link log.
    bool Build(const SEffectSource& source, const SEffectShaderSource& vertex,
               const SEffectShaderSource& pixel, const std::string& fileName, std::string& outError);

    GLuint GetName() const { return m_Name; }
    // Uniform location of parameter i of the source (-1 when the driver dropped it).
    GLint GetParameterLocation(std::size_t index) const { return m_ParameterLocations[index]; }

private:
    GLuint m_Name = 0;
    std::vector<GLint> m_ParameterLocations;
};

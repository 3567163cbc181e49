// The parser of the effect language (see EffectSource.h). It checks everything that does not
// need the GL compiler: syntax, types, stages, state names and values, and that every name is
// declared once. Errors read "file(line): error: reason".
#pragma once

#include "kelvo/gpu/gl/EffectLexer.h"
#include "kelvo/gpu/gl/EffectSource.h"

#include <string>

class CEffectParser
{
public:
    CEffectParser(const std::string& text, const std::string& fileName);

    // False with outError on the first error; outSource then holds what was read so far.
    bool Parse(SEffectSource& outSource, std::string& outError);

private:
    bool ParseParameter(SEffectSource& source);
    bool ParseSampler(SEffectSource& source);
    bool ParseShader(SEffectSource& source, EShaderStage stage);
    bool ParseTechnique(SEffectSource& source);
    bool ParseAnnotations(SEffectTechniqueSource& technique);
    bool ParsePass(SEffectTechniqueSource& technique);
    bool ParsePassState(SEffectPassSource& pass);

    // Reads one token into m_Token; false (with the error) for a bad token.
    bool Advance();
    bool Expect(char symbol);
    bool ExpectIdentifier(std::string& outName);
    bool ExpectUnsigned(uint32_t& outValue);
    bool ExpectBool(bool& outValue);
    // False (with the error) when name is already a parameter or a sampler.
    bool CheckNewGlobalName(const SEffectSource& source, const std::string& name);
    bool Fail(const std::string& reason);
    bool Fail(uint32_t line, const std::string& reason);

    CEffectLexer m_Lexer;
    std::string m_FileName;
    SEffectToken m_Token;
    std::string m_Error;
};

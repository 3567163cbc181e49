// Vertex declarations: which stream and offset feed each vertex input, bound by semantic.
// Every semantic has a fixed attribute location, which the effect compiler declares in every
// vertex shader under a fixed name, so any declaration fits any shader.
#pragma once

#include <cstdint>
#include <vector>

enum class EVertexSemantic : uint8_t
{
    Position,
    Normal,
    Color,    // index 0 or 1
    TexCoord, // index 0 to 7
    PointSize,
    BlendWeight,
    BlendIndices,
};

enum class EVertexElementType : uint8_t
{
    Float1,
    Float2,
    Float3,
    Float4,
    Color,  // packed 0xAARRGGBB, read as four normalised floats (r, g, b, a)
    UByte4, // four unsigned bytes, read as integers converted to float
};

struct SVertexElement
{
    uint32_t m_Stream = 0;
    uint32_t m_Offset = 0;
    EVertexElementType m_Type = EVertexElementType::Float4;
    EVertexSemantic m_Semantic = EVertexSemantic::Position;
    uint32_t m_SemanticIndex = 0;
};

using SVertexDeclaration = std::vector<SVertexElement>;

inline constexpr uint32_t kVertexAttributeCount = 15;
inline constexpr uint32_t kVertexStreamCount = 8;

// The attribute location of a semantic and index; false for an index the semantic lacks.
bool VertexAttributeLocation(EVertexSemantic semantic, uint32_t index, uint32_t& outLocation);
// The GLSL name the effect compiler gives the input at an attribute location.
const char* VertexAttributeName(uint32_t location);

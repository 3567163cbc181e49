// The vertex input a mesh stream feeds, derived from the stream's name and element size alone:
// the mesh never declares its layout, so every update derives it again from its streams.
#pragma once

#include <cstdint>
#include <string>

enum class EMeshElementType : uint8_t
{
    Float1,
    Float2,
    Float3,
    Float4,
    Color,  // packed 0xAARRGGBB, bytes B, G, R, A in memory, read as four normalised values
    UByte4, // four unsigned bytes
};

enum class EMeshElementUsage : uint8_t
{
    TransformedPosition,
    Position,
    Normal,
    Color,
    TexCoord,
    PointSize,
    BlendWeight,
    BlendIndices,
};

struct SMeshVertexElement
{
    uint32_t m_Stream = 0;
    EMeshElementType m_Type = EMeshElementType::Float4;
    EMeshElementUsage m_Usage = EMeshElementUsage::Position;
    uint32_t m_UsageIndex = 0;

    bool operator==(const SMeshVertexElement&) const = default;
};

// The element of the stream called name with elements of stride bytes, fed from stream number
// stream. False for a name that feeds no input ("indices", "materials", a caller's own) and
// for a texture-coordinate or weight stream of a stride other than 4, 8, 12 or 16 (logged).
bool StreamVertexElement(const std::string& name, uint32_t stride, uint32_t stream,
                         SMeshVertexElement& outElement);

#include "kelvo/gpu/gl/VertexDeclaration.h"

namespace
{
constexpr const char* kAttributeNames[kVertexAttributeCount] = {
    "in_position",  "in_normal",    "in_color0",    "in_color1",      "in_texcoord0",
    "in_texcoord1", "in_texcoord2", "in_texcoord3", "in_texcoord4",   "in_texcoord5",
    "in_texcoord6", "in_texcoord7", "in_psize",     "in_blendweight", "in_blendindices",
};
}

bool VertexAttributeLocation(EVertexSemantic semantic, uint32_t index, uint32_t& outLocation)
{
    switch (semantic)
    {
    case EVertexSemantic::Position:
        outLocation = 0;
        return index == 0;
    case EVertexSemantic::Normal:
        outLocation = 1;
        return index == 0;
    case EVertexSemantic::Color:
        outLocation = 2 + index;
        return index < 2;
    case EVertexSemantic::TexCoord:
        outLocation = 4 + index;
        return index < 8;
    case EVertexSemantic::PointSize:
        outLocation = 12;
        return index == 0;
    case EVertexSemantic::BlendWeight:
        outLocation = 13;
        return index == 0;
    case EVertexSemantic::BlendIndices:
        outLocation = 14;
        return index == 0;
    }
    return false;
}

const char* VertexAttributeName(uint32_t location)
{
    return location < kVertexAttributeCount ? kAttributeNames[location] : nullptr;
}

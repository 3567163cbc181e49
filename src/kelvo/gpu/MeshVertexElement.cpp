#include "kelvo/gpu/MeshVertexElement.h"

#include "platform/Log.h"

namespace
{
// One to four floats for 4 to 16 bytes; false for any other stride.
bool FloatsOfStride(uint32_t stride, EMeshElementType& outType)
{
    switch (stride)
    {
    case 4:
        outType = EMeshElementType::Float1;
        return true;
    case 8:
        outType = EMeshElementType::Float2;
        return true;
    case 12:
        outType = EMeshElementType::Float3;
        return true;
    case 16:
        outType = EMeshElementType::Float4;
        return true;
    default:
        return false;
    }
}

// The digit of "tex0" to "tex7"; false for any other name.
bool TexCoordIndex(const std::string& name, uint32_t& outIndex)
{
    if (name.size() != 4 || name.compare(0, 3, "tex") != 0 || name[3] < '0' || name[3] > '7')
        return false;
    outIndex = static_cast<uint32_t>(name[3] - '0');
    return true;
}
}

bool StreamVertexElement(const std::string& name, uint32_t stride, uint32_t stream,
                         SMeshVertexElement& outElement)
{
    SMeshVertexElement element;
    element.m_Stream = stream;
    uint32_t texCoord = 0;
    if (name == "xyzrhw")
    {
        element.m_Type = EMeshElementType::Float4;
        element.m_Usage = EMeshElementUsage::TransformedPosition;
    }
    else if (name == "position" || name == "normal")
    {
        // Elements are four floats; the fourth is not read.
        element.m_Type = EMeshElementType::Float3;
        element.m_Usage = name == "position" ? EMeshElementUsage::Position : EMeshElementUsage::Normal;
    }
    else if (TexCoordIndex(name, texCoord))
    {
        if (!FloatsOfStride(stride, element.m_Type))
        {
            DebugLog("[CMeshGL::GetElement] Bad texcoord buffer stride: %i!\n", stride);
            return false;
        }
        element.m_Usage = EMeshElementUsage::TexCoord;
        element.m_UsageIndex = texCoord;
    }
    else if (name == "diffuse" || name == "specular")
    {
        element.m_Type = EMeshElementType::Color;
        element.m_Usage = EMeshElementUsage::Color;
        element.m_UsageIndex = name == "diffuse" ? 0 : 1;
    }
    else if (name == "psize")
    {
        element.m_Type = EMeshElementType::Float1;
        element.m_Usage = EMeshElementUsage::PointSize;
    }
    else if (name == "weight")
    {
        if (!FloatsOfStride(stride, element.m_Type))
        {
            DebugLog("[CMeshGL::GetElement] Bad weight buffer stride: %i!\n", stride);
            return false;
        }
        element.m_Usage = EMeshElementUsage::BlendWeight;
    }
    else if (name == "weight matrix")
    {
        element.m_Type = EMeshElementType::UByte4;
        element.m_Usage = EMeshElementUsage::BlendIndices;
    }
    else
    {
        return false;
    }
    outElement = element;
    return true;
}

#include "kelvo/gpu/MaterialRecord.h"

namespace
{
// count strings, stopping at the first that cannot be read.
bool ReadStrings(CByteReader& reader, uint32_t count, std::vector<std::string>& outTexts)
{
    for (uint32_t i = 0; i < count; ++i)
    {
        std::string text;
        if (!reader.ReadString(text))
            return false;
        outTexts.push_back(std::move(text));
    }
    return true;
}
}

bool ReadMaterialRecord(CByteReader& reader, SMaterialRecord& outRecord)
{
    uint32_t pixelCount = 0, vertexCount = 0, variableCount = 0;
    if (!reader.ReadString(outRecord.m_Effect) || !reader.ReadString(outRecord.m_Technique) ||
        !reader.ReadUInt32(pixelCount) || !reader.ReadUInt32(vertexCount) ||
        !ReadStrings(reader, pixelCount, outRecord.m_PixelTextures) ||
        !ReadStrings(reader, vertexCount, outRecord.m_VertexTextures) || !reader.ReadUInt32(variableCount))
        return false;
    for (uint32_t i = 0; i < variableCount; ++i)
    {
        SMaterialVariable variable;
        uint32_t size = 0;
        if (!reader.ReadString(variable.m_Name) || !reader.ReadUInt32(size) || size > reader.GetRemaining())
            return false;
        variable.m_Value.resize(size);
        reader.ReadBytes(variable.m_Value.data(), size);
        outRecord.m_Variables.push_back(std::move(variable));
    }
    return true;
}

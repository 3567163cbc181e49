// A material as the ".am" mesh format stores it: effect and technique, pixel and vertex
// texture names, and named values for render variables.
#pragma once

#include "kelvo/gpu/ByteReader.h"

#include <cstdint>
#include <string>
#include <vector>

struct SMaterialVariable
{
    std::string m_Name;
    std::vector<uint8_t> m_Value;
};

struct SMaterialRecord
{
    std::string m_Effect;
    std::string m_Technique;
    std::vector<std::string> m_PixelTextures;
    std::vector<std::string> m_VertexTextures;
    std::vector<SMaterialVariable> m_Variables;
};

// Effect, technique, pixel and vertex texture counts, the names, the variable count and the
// variables (name, size, value). False where the bytes run out or a string is malformed;
// the record then holds what was read before.
bool ReadMaterialRecord(CByteReader& reader, SMaterialRecord& outRecord);

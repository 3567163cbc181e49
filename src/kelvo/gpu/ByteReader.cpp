#include "kelvo/gpu/ByteReader.h"

#include <cstring>

bool CByteReader::ReadUInt32(uint32_t& outValue)
{
    uint8_t bytes[4];
    if (!ReadBytes(bytes, sizeof(bytes)))
        return false;
    outValue = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
               static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return true;
}

bool CByteReader::ReadBytes(void* destination, std::size_t count)
{
    if (count > GetRemaining())
        return false;
    if (count != 0)
        std::memcpy(destination, m_Data + m_Position, count);
    m_Position += count;
    return true;
}

bool CByteReader::ReadString(std::string& outText)
{
    const std::size_t start = m_Position;
    uint32_t length = 0;
    if (!ReadUInt32(length) || length >= kMaxStringLength || length > GetRemaining())
    {
        m_Position = start;
        return false;
    }
    outText.assign(reinterpret_cast<const char*>(m_Data + m_Position), length);
    m_Position += length;
    return true;
}

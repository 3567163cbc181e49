// Reads little-endian values from a byte block it does not own, never past its end: every
// read that does not fit fails and leaves the position where it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CByteReader
{
public:
    // Strings of a file are shorter than this.
    static constexpr uint32_t kMaxStringLength = 1024;

    CByteReader(const uint8_t* data, std::size_t size)
        : m_Data(data)
        , m_Size(size)
    {
    }

    std::size_t GetRemaining() const { return m_Size - m_Position; }
    bool ReadUInt32(uint32_t& outValue);
    bool ReadBytes(void* destination, std::size_t count);
    // A 32-bit length below kMaxStringLength, then that many bytes without terminator.
    bool ReadString(std::string& outText);

private:
    const uint8_t* m_Data;
    std::size_t m_Size;
    std::size_t m_Position = 0;
};

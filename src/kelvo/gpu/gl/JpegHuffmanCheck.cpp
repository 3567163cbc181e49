#include "kelvo/gpu/gl/JpegHuffmanCheck.h"

namespace
{
constexpr uint8_t kDefineHuffmanTables = 0xC4;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr int kMaxTableSymbols = 256;

// Byte at position, 0 past the end (as the decoder reads it).
uint8_t At(const uint8_t* data, std::size_t size, std::size_t position)
{
    return position < size ? data[position] : 0;
}

// Checks the tables of the segment whose length field is at position, as the decoder reads
// them: each a class byte, sixteen counts and as many symbols as the counts add up to.
bool SegmentTablesFit(const uint8_t* data, std::size_t size, std::size_t position)
{
    long left = (At(data, size, position) << 8 | At(data, size, position + 1)) - 2;
    position += 2;
    while (left > 0 && position < size)
    {
        int symbols = 0;
        for (int i = 0; i < 16; ++i)
            symbols += At(data, size, position + 1 + i);
        if (symbols > kMaxTableSymbols)
            return false;
        position += 17 + symbols;
        left -= 17 + symbols;
    }
    return true;
}

// Markers without a length: the restart markers, start of image and the fill byte.
bool IsStandalone(uint8_t marker)
{
    return (marker >= 0xD0 && marker <= 0xD8) || marker == 0x01 || marker == 0xFF;
}
}

bool JpegHuffmanTablesFit(const uint8_t* data, std::size_t size)
{
    std::size_t position = 2; // after the start-of-image marker
    bool inScan = false;
    while (position + 1 < size)
    {
        const uint8_t marker = data[position + 1];
        if (data[position] != 0xFF || (inScan && (marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7))))
        {
            ++position;
            continue;
        }
        if (marker == kEndOfImage)
            return true;
        if (IsStandalone(marker))
        {
            position += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == kDefineHuffmanTables && !SegmentTablesFit(data, size, position + 2))
            return false;
        const std::size_t length = At(data, size, position + 2) << 8 | At(data, size, position + 3);
        position += 2 + length;
        inScan = marker == kStartOfScan;
    }
    return true;
}

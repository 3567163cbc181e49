#include "BinaryXWriter.h"

#include <cstring>
#include <zlib.h>

void CBinaryXWriter::Name(const std::string& name)
{
    Word(1);
    DoubleWord(static_cast<uint32_t>(name.size()));
    m_Tokens += name;
}

void CBinaryXWriter::Integers(std::initializer_list<uint32_t> values)
{
    Word(6);
    DoubleWord(static_cast<uint32_t>(values.size()));
    for (uint32_t value : values)
        DoubleWord(value);
}

void CBinaryXWriter::Floats(std::initializer_list<float> values)
{
    Word(7);
    DoubleWord(static_cast<uint32_t>(values.size()));
    for (float value : values)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof(bits));
        DoubleWord(bits);
    }
}

std::string CBinaryXWriter::BinaryFile() const
{
    return "xof 0303bin 0032" + m_Tokens;
}

std::string CBinaryXWriter::CompressedFile() const
{
    std::vector<unsigned char> packed(compressBound(static_cast<uLong>(m_Tokens.size())) + 64);
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(m_Tokens.data()));
    stream.avail_in = static_cast<uInt>(m_Tokens.size());
    stream.next_out = packed.data();
    stream.avail_out = static_cast<uInt>(packed.size());
    deflate(&stream, Z_FINISH);
    const auto packedSize = static_cast<uint16_t>(stream.total_out);
    deflateEnd(&stream);

    CBinaryXWriter file;
    file.m_Tokens = "xof 0303bzip0032";
    // Uncompressed size and two bytes of flags, then one block: size, "CK", data.
    file.DoubleWord(static_cast<uint32_t>(m_Tokens.size() + 16));
    file.Word(0);
    file.Word(packedSize);
    file.m_Tokens += "CK";
    file.m_Tokens.append(reinterpret_cast<const char*>(packed.data()), packedSize);
    return file.m_Tokens;
}

void CBinaryXWriter::Word(uint16_t value)
{
    m_Tokens += static_cast<char>(value & 0xff);
    m_Tokens += static_cast<char>(value >> 8);
}

void CBinaryXWriter::DoubleWord(uint32_t value)
{
    Word(static_cast<uint16_t>(value & 0xffff));
    Word(static_cast<uint16_t>(value >> 16));
}

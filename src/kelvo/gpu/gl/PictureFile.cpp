#include "kelvo/gpu/gl/PictureFile.h"

#include "kelvo/gpu/gl/JpegHuffmanCheck.h"

#include <stb/stb_image.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace
{
// Decoded pixels may take this many times the file's bytes, beyond a floor that every
// picture up to 2048 x 2048 fits: far above what compression gives real pictures, and low
// enough that a small broken header cannot ask for gigabytes.
constexpr uint64_t kMaxBytesPerFileByte = 1024;
constexpr uint64_t kFreeDecodedBytes = 16u << 20;
// Larger than any texture the GL can hold.
constexpr int kMaxSide = 16384;

bool StartsWith(const std::vector<uint8_t>& bytes, const char* prefix, std::size_t length)
{
    return bytes.size() >= length && std::memcmp(bytes.data(), prefix, length) == 0;
}

// The reason a file is not handed to the decoder, or null.
const char* Refusal(const std::vector<uint8_t>& bytes)
{
    const bool png = StartsWith(bytes, "\x89PNG\r\n\x1a\n", 8);
    const bool jpeg = StartsWith(bytes, "\xff\xd8\xff", 3);
    if (!png && !jpeg)
        return "not a JPEG or PNG picture";
    if (jpeg && !JpegHuffmanTablesFit(bytes.data(), bytes.size()))
        return "a Huffman table holds more than 256 codes";
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels))
        return stbi_failure_reason() != nullptr ? stbi_failure_reason() : "no picture header";
    const uint64_t decoded = uint64_t{4} * static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (width > kMaxSide || height > kMaxSide ||
        decoded > kFreeDecodedBytes + kMaxBytesPerFileByte * bytes.size())
        return "the picture is far larger than its file could hold";
    return nullptr;
}
}

bool LoadPictureFile(const std::string& path, SPicture& outPicture, std::string& outReason)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        outReason = "cannot open the file";
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
    {
        outReason = "the file is too large";
        return false;
    }
    if (const char* refusal = Refusal(bytes))
    {
        outReason = refusal;
        return false;
    }
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height,
                                            &channels, STBI_rgb_alpha);
    if (pixels == nullptr)
    {
        const char* reason = stbi_failure_reason();
        outReason = reason != nullptr ? reason : "unknown";
        return false;
    }
    outPicture.m_Width = static_cast<uint32_t>(width);
    outPicture.m_Height = static_cast<uint32_t>(height);
    outPicture.m_Rgba.assign(pixels, pixels + static_cast<std::size_t>(width) * height * 4);
    stbi_image_free(pixels);
    return true;
}

#include "kelvo/gpu/gl/PictureFile.h"

#include "support/TestFiles.h"

#include <string>

#include <gtest/gtest.h>

namespace
{
std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

// A PNG signature and header chunk for a picture of that size, and no pixels.
std::string PngHeader(int width, int height)
{
    return Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13}) + "IHDR" +
           Bytes({width >> 24, (width >> 16) & 255, (width >> 8) & 255, width & 255, height >> 24,
                  (height >> 16) & 255, (height >> 8) & 255, height & 255, 8, 6, 0, 0, 0, 0, 0, 0, 0});
}
}

// Files the decoder must never see: other formats, a header promising a gigabyte of pixels in
// a few bytes. (A JPEG whose tables would overrun it is among the picture fuzz target's
// regression inputs.)
TEST(PictureFileTest, FilesThatCannotBeDecodedSafelyAreRefusedWithTheReason)
{
    const std::string path = MakeScratchFolder("brovell_picture") + "/picture";
    const std::pair<std::string, std::string> cases[] = {
        {"BM" + std::string(64, '\0'), "not a JPEG or PNG picture"},
        {PngHeader(16000, 16000), "the picture is far larger than its file could hold"},
    };
    for (const auto& [bytes, reason] : cases)
    {
        WriteFile(path, bytes);
        SPicture picture;
        std::string why;
        EXPECT_FALSE(LoadPictureFile(path, picture, why));
        EXPECT_EQ(why, reason);
    }
}

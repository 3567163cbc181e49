// Picture files through the loader the textures use.
#include "FuzzFolder.h"
#include "kelvo/gpu/gl/PictureFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SPicture picture;
    std::string reason;
    if (LoadPictureFile(WriteFuzzInput("picture.jpg", data, size), picture, reason) &&
        picture.m_Rgba.size() != size_t{picture.m_Width} * picture.m_Height * 4)
        __builtin_trap();
    return 0;
}

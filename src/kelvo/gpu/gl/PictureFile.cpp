#include "kelvo/gpu/gl/PictureFile.h"

#include <stb/stb_image.h>


bool LoadPictureFile(const std::string& path, SPicture& outPicture, std::string& outReason)
{
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, STBI_rgb_alpha);
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

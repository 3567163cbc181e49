#include "pictures/PictureMaker.h"

#include "pictures/FontPicture.h"
#include "pictures/LogoPicture.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool MakePictures(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    bool succeeded = true;
    const std::string font = folder + "/font_vc60.png";
    if (!MakeFontPicture().WritePng(font))
    {
        std::fprintf(stderr, "assetgen: cannot write %s\n", font.c_str());
        succeeded = false;
    }
    const std::string logo = folder + "/logotyp1.jpg";
    if (!MakeLogoPicture().WriteJpeg(logo, 92))
    {
        std::fprintf(stderr, "assetgen: cannot write %s\n", logo.c_str());
        succeeded = false;
    }
    return succeeded;
}

#include "zoom/ZoomPictures.h"

#include "zoom/ZoomBankPicture.h"
#include "zoom/ZoomOverlayPicture.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool MakeZoomPictures(const std::string& folder, const std::string& fontFolder)
{
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    SShowFonts fonts;
    std::string error;
    if (!fonts.Load(fontFolder, error))
    {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return false;
    }
    bool succeeded = true;
    const std::string bank = folder + "/zoom2color.png";
    if (!MakeZoomBankPicture().WritePng(bank))
    {
        std::fprintf(stderr, "assetgen: cannot write %s\n", bank.c_str());
        succeeded = false;
    }
    const std::string overlay = folder + "/dont-alpha.jpg";
    if (!MakeZoomOverlayPicture(fonts).ToImage().WriteJpeg(overlay, 92))
    {
        std::fprintf(stderr, "assetgen: cannot write %s\n", overlay.c_str());
        succeeded = false;
    }
    return succeeded;
}

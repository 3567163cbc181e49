#include "zoom/ZoomPictures.h"

#include "zoom/ZoomBankPicture.h"
#include "zoom/ZoomOverlayPicture.h"

#include <cstdio>

bool MakeZoomPictures(const std::string& folder, const std::string& fontFolder)
{
    SShowFonts fonts;
    if (!fonts.PrepareOutput(folder, fontFolder))
        return false;
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

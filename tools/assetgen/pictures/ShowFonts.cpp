#include "pictures/ShowFonts.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool SShowFonts::Load(const std::string& folder, std::string& error)
{
    return m_SansBold.Load(folder + "/DejaVuSans-Bold.ttf", error) &&
           m_Serif.Load(folder + "/DejaVuSerif.ttf", error) &&
           m_SerifBold.Load(folder + "/DejaVuSerif-Bold.ttf", error);
}

bool SShowFonts::PrepareOutput(const std::string& folder, const std::string& fontFolder)
{
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::string error;
    if (Load(fontFolder, error))
        return true;
    std::fprintf(stderr, "assetgen: %s\n", error.c_str());
    return false;
}

#include "pictures/ShowFonts.h"

bool SShowFonts::Load(const std::string& folder, std::string& error)
{
    return m_SansBold.Load(folder + "/DejaVuSans-Bold.ttf", error) && m_Serif.Load(folder + "/DejaVuSerif.ttf", error) &&
           m_SerifBold.Load(folder + "/DejaVuSerif-Bold.ttf", error);
}

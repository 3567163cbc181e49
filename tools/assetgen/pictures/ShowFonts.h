// The typefaces of the show's pictures, DejaVu from the fonts-dejavu-core package.
#pragma once

#include "pictures/TrueTypeFont.h"

#include <string>

struct SShowFonts
{
    CTrueTypeFont m_SansBold;
    CTrueTypeFont m_Serif;
    CTrueTypeFont m_SerifBold;

    // Loads the faces from folder; false with a message in error when one is missing.
    bool Load(const std::string& folder, std::string& error);
    // Makes the output folder and loads the faces from fontFolder; false, said on standard
    // error, when a face is missing.
    bool PrepareOutput(const std::string& folder, const std::string& fontFolder);
};

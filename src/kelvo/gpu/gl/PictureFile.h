// Picture files (JPEG and PNG, the program's pictures) decoded to RGBA8 rows, row 0 at the
// top. Files of other kinds, JPEG files whose tables the decoder would overrun, and headers
// that promise far more pixels than the file could hold are refused before decoding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SPicture
{
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
    std::vector<uint8_t> m_Rgba; // bytes R, G, B, A per texel
};

// False (with the decoder's reason in outReason) when the file cannot be read or is no
// picture.
bool LoadPictureFile(const std::string& path, SPicture& outPicture, std::string& outReason);

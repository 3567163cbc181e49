// "zoom2color.png": the zoom scene's bank, an 8 x 8 grid of 256 x 256 pictures. Their average
// colours are the points of a 4 x 4 x 4 grid over the colour cube, so that any picture can be
// built from the others. Where the zoom path dives in, a picture carries a ball whose centre
// texels have exactly the average colour of the next key's picture, so that the texel the
// camera ends on is drawn as that picture.
#pragma once

#include "pictures/Canvas.h"
#include "pictures/RgbaImage.h"

#include <cstdint>

inline constexpr uint32_t kZoomBankImages = 64;
inline constexpr uint32_t kZoomBankImageSize = 256;
inline constexpr uint32_t kZoomBankSize = 2048;

// The average colour picture image is made to have, in display values 0..1.
SColor ZoomBankTarget(uint32_t image);
CRgbaImage MakeZoomBankPicture();

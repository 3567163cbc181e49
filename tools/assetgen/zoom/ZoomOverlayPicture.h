// "dont-alpha.jpg": what the zoom scene lays over its flight. The picture is its own alpha
// (bright covers, black lets the flight through): a thin golden frame with corner marks and
// a line of letters under the picture. 1920 x 1080.
#pragma once

#include "pictures/Canvas.h"
#include "pictures/ShowFonts.h"

CCanvas MakeZoomOverlayPicture(const SShowFonts& fonts);

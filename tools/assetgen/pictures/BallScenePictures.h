// The traced-ball scenes' pictures: three graphic overlays, each a colour picture with a
// separate coverage picture (white shows the overlay, black the traced frame), and the two
// floor textures the tracer samples at one texel per 66.7 world units (coordinate x 0.015).
#pragma once

#include "pictures/Canvas.h"
#include "pictures/ShowFonts.h"

// An overlay: its colour and its coverage as grey.
struct SOverlayPicture
{
    CCanvas m_Color;
    CCanvas m_Alpha;
};

// "design1.jpg": rings and "THE FIELD", placed in the picture's right part, which the juggler
// scene shows on the left of the screen (rectangle (-0.3, 0, 1, 1)). 1280 x 720.
SOverlayPicture MakeFieldOverlay(const SShowFonts& fonts);
// "design2.jpg": corner marks and the balls' title in the middle. 1280 x 720.
SOverlayPicture MakeBallsOverlay(const SShowFonts& fonts);
// "design3.jpg": a title strip in the picture's top 30 percent, which the juggler scene shows
// along the bottom of the screen (rectangle (0, 0.7, 1, 1)). 1280 x 720.
SOverlayPicture MakeJugglerOverlay(const SShowFonts& fonts);
// "floor.jpg": warm stone tiles of 2 x 2 texels, 256 x 256 (17,000 units a side).
CCanvas MakeTileFloor();
// "metal.jpg": brushed metal plates of 4 x 4 texels with dark seams, 256 x 256.
CCanvas MakeMetalFloor();

// The drift of a picture scene's rectangle: fractal noise of the scene time moves it by up
// to the position amplitude and grows or shrinks it by up to the size amplitude.
#pragma once

#include "brovell/scenes/PictureLook.h"

// Adds this frame's drift at scene time t to rectangle (x, y, width, height).
void ApplyWobble(SVector4& rectangle, float t, const SWobble& wobble);

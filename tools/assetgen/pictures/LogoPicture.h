// "logotyp1.jpg": the demo's name in white block letters with a drop shadow on a band that
// runs from deep blue to violet, with faint diagonal stripes. 512 x 128 texels.
#pragma once

#include "pictures/RgbaImage.h"

CRgbaImage MakeLogoPicture();

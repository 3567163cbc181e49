// Which rows of a picture a bicubic filter reads while drawing it on a rectangle: the
// two-pass filter filters only those rows across first, into a target of limited height.
#pragma once

#include <cstdint>

struct SBicubicRows
{
    int32_t m_First = 0;
    // 0 when none of the rectangle's rows is on the target.
    int32_t m_Count = 0;
};

// The rows of a picture extentHeight texels high (0 = top) that a Catmull-Rom filter reads
// for every target row the rectangle covers, with y and height in the unit square of the
// target (0 = top): the four rows around each sample, a row of margin on each side, clamped
// to the picture.
SBicubicRows BicubicRowsInView(float y, float height, uint32_t extentHeight);

// What a picture scene shows in a frame: the picture, its rectangle (x, y, width, height in
// the unit square, (0, 0) top-left) and the present phase's overlay. The scripts change it
// frame by frame; what a script leaves alone keeps the previous frame's value.
#pragma once

#include "kelvo/core/Math.h"

#include <string>

struct SPictureLook
{
    std::string m_Picture;
    SVector4 m_Rectangle{0.0f, 0.0f, 1.0f, 1.0f};
    SVector4 m_OverlayColor{0.0f, 0.0f, 0.0f, 0.0f};
    float m_OverlayAmount = 0.0f; // 0 or below: no overlay
};

// How strongly the picture drifts this frame: position and size amplitudes (0, 0: none).
struct SWobble
{
    float m_Position = 0.0f;
    float m_Size = 0.0f;
};

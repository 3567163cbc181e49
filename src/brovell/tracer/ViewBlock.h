// The tracer's camera block from the camera's position and its four corner rays.
#pragma once

#include "kelvo/core/Math.h"
#include "quellbeam/RayTracer.h"

// corners: top-left, top-right, bottom-left, bottom-right. Each direction is normalised, then
// all four are divided by the length of the mean of the top-left and bottom-right ones, so
// the ray through the image centre has length 1.
SViewBlock MakeViewBlock(const SVector4& position, const SVector4 (&corners)[4]);

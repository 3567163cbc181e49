// The constant block of the kernels: written by the host side through the backend, read by
// every traced pixel (CUDA keeps it in constant memory).
#pragma once

#include "quellbeam/kernel/HostDevice.h"

namespace quellbeam
{
struct SKernelConstants
{
    // Work tiling: units of 128 x 8 pixels.
    uint32_t blocksX = 0;
    uint32_t totalBlocks = 0;
    // Camera: position, then the ray directions through the corners (0,0), (1,0), (0,1), (1,1).
    float view[5][4] = {};
    // Nonzero: the floor colour comes from the floor texture.
    uint32_t planeTexture = 0;
    // The grid's cube on all three axes.
    float minBB = -110.0f;
    float maxBB = 110.0f;
    float planeY = -30.0f;
    float checkerScale = 0.03f;
    // Two floor materials of eight floats: colour r, g, b, exponent; reflectance, diffuse, 2 unread.
    float mat[16] = {0, 1, 0, 1024, 0.2f, 0.8f, 0, 0, 1, 1, 0, 1024, 0.3f, 0.7f, 0, 0};
    float lightPos[3] = {0, 30, 30};
    float skyDark[4] = {0.06667f, 0.13333f, 0.93333f, 0};
    float skyBright[4] = {0.73333f, 0.73333f, 1, 0};
};
}

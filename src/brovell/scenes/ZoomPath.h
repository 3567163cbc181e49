// The zoom scene's path: each key names a texel of one bank image and the zoom range over
// which the view closes in on it; the view then enters the bank image that texel is drawn
// as, which is the next key's image. The bank picture is made to match: the texel of every
// key has the average colour of the next key's image.
#pragma once

#include <cstdint>

struct SZoomKey
{
    uint32_t m_X; // texel column in the key's image (in the whole bank for the first key)
    uint32_t m_Y; // texel row
    float m_StartScale;
    float m_EndScale;
    uint32_t m_Image; // 0..63, row-major in the bank grid
};

inline constexpr float kZoomEndScale = 0.0001953125f; // 1 / 5120

inline constexpr SZoomKey kZoomPath[] = {
    {1934, 1197, 10.0f, kZoomEndScale, 39}, {128, 128, 0.05f, kZoomEndScale, 48},
    {128, 128, 0.05f, kZoomEndScale, 13},   {128, 128, 0.05f, kZoomEndScale, 16},
    {71, 121, 0.05f, kZoomEndScale, 27},    {128, 128, 0.05f, kZoomEndScale, 53},
    {132, 128, 0.05f, kZoomEndScale, 5},    {89, 74, 0.05f, kZoomEndScale, 29},
    {128, 127, 0.05f, kZoomEndScale, 25},   {124, 128, 0.05f, kZoomEndScale, 60},
    {123, 133, 0.05f, kZoomEndScale, 63},   {131, 128, 0.05f, kZoomEndScale, 49},
    {129, 129, 0.05f, kZoomEndScale, 38},   {128, 128, 0.05f, kZoomEndScale, 55},
    {128, 128, 0.05f, kZoomEndScale, 37},   {128, 128, 0.05f, kZoomEndScale, 21},
    {123, 129, 0.05f, kZoomEndScale, 43},   {128, 128, 0.05f, kZoomEndScale, 26},
    {128, 128, 0.05f, kZoomEndScale, 33},   {138, 128, 0.05f, kZoomEndScale, 3},
    {128, 128, 0.05f, kZoomEndScale, 47},   {132, 128, 0.05f, kZoomEndScale, 46},
    {130, 128, 0.05f, kZoomEndScale, 59},   {135, 130, 0.05f, kZoomEndScale, 4},
    {130, 128, 0.05f, kZoomEndScale, 7},    {131, 126, 0.05f, kZoomEndScale, 17},
    {133, 129, 0.05f, kZoomEndScale, 24},   {124, 128, 0.05f, kZoomEndScale, 10},
    {165, 87, 0.05f, kZoomEndScale, 57},    {123, 128, 0.05f, kZoomEndScale, 48},
    {127, 128, 0.05f, kZoomEndScale, 6},    {127, 128, 0.05f, kZoomEndScale, 35},
    {132, 129, 0.05f, kZoomEndScale, 44},
};

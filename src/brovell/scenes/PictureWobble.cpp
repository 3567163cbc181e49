#include "brovell/scenes/PictureWobble.h"

#include "kelvo/core/FractalNoise.h"

namespace
{
void AddDrift(float& accumulator, float t)
{
    AddFractalNoise(accumulator, t, 1.0f, 1.0f, 0.2f, 5);
}
}

void ApplyWobble(SVector4& rectangle, float t, const SWobble& wobble)
{
    float first = 0.0f;
    float second = 0.0f;
    AddDrift(first, t);
    AddDrift(second, t + 10.0f);
    rectangle.x += first * wobble.m_Position;
    rectangle.y += second * wobble.m_Position;
    // The size drift adds a third sum to the first: one value for width and height.
    AddDrift(first, t + 20.0f);
    rectangle.z += first * wobble.m_Size;
    rectangle.w += first * wobble.m_Size;
}

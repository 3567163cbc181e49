// Sizes that keep a shape while fitting a bound: the back buffer for a desktop larger than the
// fixed depth surface, and the part of the back buffer a window of another size is drawn in.
#pragma once

#include <cstdint>

struct SPixelSize
{
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;

    bool operator==(const SPixelSize&) const = default;
};

// The size itself when it fits the bound; otherwise scaled down uniformly until it does,
// rounded to whole pixels and never below one. An empty size stays empty.
SPixelSize FitInside(SPixelSize size, SPixelSize bound);

// What the meshes' debugging display draws with and reads its keys from. The renderer
// implements the drawing, so the mesh layer draws without knowing the renderer.
#pragma once

#include "kelvo/core/InputQueries.h"
#include "kelvo/core/Math.h"

#include <cstdint>
#include <string>

class IMeshDebugDraw
{
public:
    virtual ~IMeshDebugDraw() = default;
    // A line in world space, its colours packed 0xAARRGGBB.
    virtual void AddLine(const SVector4& from, const SVector4& to, uint32_t colorFrom, uint32_t colorTo) = 0;
    // The twelve edges of a box in world space.
    virtual void DrawBox(const SBox& box, uint32_t color) = 0;
    // Text in screen units (0 to 1); anchor 0 puts its top-left corner at position, measured
    // from the screen's top left.
    virtual void DrawText(const SVector4& position, const std::string& text, int anchor) = 0;
};

struct SMeshDebugAids
{
    SInputQueries m_Input;
    // Null: nothing is drawn.
    IMeshDebugDraw* m_Draw = nullptr;
};

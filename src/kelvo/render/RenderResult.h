// Result codes of the renderer's overlay drawing, in the GPU layer's numbering.
#pragma once

#include "kelvo/gpu/GPUResult.h"

// The effect "default" cannot be had.
inline constexpr uint32_t kRenderResultNoEffect = 27;
// The mesh "line_mesh" cannot be had.
inline constexpr uint32_t kRenderResultNoLineMesh = 28;
// The effect or the mesh has no resource behind its handle.
inline constexpr uint32_t kRenderResultMissingResource = 29;
// The mesh "text_mesh" cannot be had.
inline constexpr uint32_t kRenderResultNoTextMesh = 53;

// A world object showing one of the built-in meshes in a flat colour: kind 0 "ball" in
// "red", 1 "cube" in "green", 2 "torus" in "blue", 3 "teapot" in "blue", 4 "twotris" in
// "blue"; kind 5 and above show nothing until the caller adds its own surface.
#pragma once

#include <cstdint>

#include "kelvo/core/GameObject.h"

// The first kind without a built-in mesh.
inline constexpr uint32_t kNoBuiltInPrimitive = 5;

class CPrimitiveObject : public CGameObject
{
    KELVO_RTTI(CPrimitiveObject, CGameObject)

public:
    // Attaches a C3DObjectLogic and a CRenderableLogic, then the kind's surface.
    explicit CPrimitiveObject(uint32_t kind);
};

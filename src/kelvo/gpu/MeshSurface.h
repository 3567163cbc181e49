// One surface of a mesh: a range of primitives drawn with one material.
#pragma once

#include <cstdint>

struct SMeshSurface
{
    uint32_t m_FirstPrimitive = 0;
    uint32_t m_PrimitiveCount = 0;
    uint32_t m_FirstVertex = 0;
    uint32_t m_VertexCount = 0;

    bool operator==(const SMeshSurface&) const = default;
};

static_assert(sizeof(SMeshSurface) == 16);

#include "kelvo/world/PrimitiveObject.h"

#include <iterator>

#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/RenderableLogic.h"

namespace
{
struct SPrimitive
{
    const char* mesh;
    const char* material;
};

constexpr SPrimitive kPrimitives[] = {
    {"ball", "red"}, {"cube", "green"}, {"torus", "blue"}, {"teapot", "blue"}, {"twotris", "blue"},
};
}

CPrimitiveObject::CPrimitiveObject(uint32_t kind)
{
    AddLogic<C3DObjectLogic>();
    CRenderableLogic* renderable = AddLogic<CRenderableLogic>();
    if (kind < std::size(kPrimitives))
        renderable->ShowSurface(kPrimitives[kind].mesh, kPrimitives[kind].material);
}

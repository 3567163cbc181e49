#include "kelvo/gpu/BuiltInMaterials.h"

#include "kelvo/gpu/GPUResourceManager.h"
#include "kelvo/gpu/MaterialDescription.h"

#include <algorithm>
#include <iterator>

namespace
{
struct SColorMaterial
{
    const char* m_Name;
    float m_Diffuse[4];
};

constexpr SColorMaterial kColorMaterials[] = {
    {"red", {1.0f, 0.5f, 0.5f, 0.0f}},
    {"green", {0.5f, 1.0f, 0.5f, 0.0f}},
    {"blue", {0.5f, 0.5f, 1.0f, 0.0f}},
    {"ambient_red", {1.0f, 0.25f, 0.25f, 0.6f}},
    {"ambient_green", {0.25f, 1.0f, 0.25f, 0.6f}},
    {"ambient_blue", {0.25f, 0.25f, 1.0f, 0.6f}},
    {"white", {1.0f, 1.0f, 1.0f, 0.5f}},
    {"default", {1.0f, 0.5f, 0.5f, 0.0f}},
};
}

uint32_t CreateColorMaterials(CGPUResourceManager& resources)
{
    for (const SColorMaterial& color : kColorMaterials)
    {
        SMaterialDescription description;
        std::copy(std::begin(color.m_Diffuse), std::end(color.m_Diffuse), description.m_Diffuse);
        std::fill(std::begin(description.m_Specular), std::end(description.m_Specular), 0.5f);
        description.m_Power = 32.0f;
        GPUObjectHandle handle;
        resources.CreateMaterialFromDescription(color.m_Name, description, handle);
    }
    return 0;
}

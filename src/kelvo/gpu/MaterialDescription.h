// The look of a mesh subset as a mesh file describes it; the backend turns it into a material
// (effect "default", technique "d3d_material").
#pragma once

#include <string>

struct SMaterialDescription
{
    float m_Diffuse[4] = {0, 0, 0, 0};
    float m_Ambient[4] = {0, 0, 0, 0};
    float m_Specular[4] = {0, 0, 0, 0};
    float m_Emissive[4] = {0, 0, 0, 0};
    float m_Power = 0.0f;
    // Bare texture file name; empty when the subset has none.
    std::string m_TextureFile;
};

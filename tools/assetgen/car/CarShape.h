// The show's sports car, shared by its mesh files and the wind tunnel's cell file: the side
// silhouette that the tunnel's solid cells follow, and the model built around it.
//
// World units: the car stands on the ground plane y = kGroundY, centred on x = 0 and z = 0,
// its nose towards -z (into the tunnel's flow, which runs towards +z), its width along x.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace car
{
constexpr float kLength = 11.0f;
constexpr float kGroundY = -2.2f;
// The model is drawn in metres of a real car and scaled by this.
constexpr float kScale = kLength / 4.46f;

// True when the point (z, y) of the car's middle plane lies inside its side silhouette
// (body and wheels).
bool InsideSilhouette(float z, float y);

struct SLook
{
    float m_Diffuse[4];
    float m_Specular[4];
    float m_Ambient[4];
    float m_Emissive[4];
    float m_Power;
};

struct SVertex
{
    float m_Position[3];
    float m_Normal[3];
};

// One part of the model drawn with one material: its own vertices and triangles (indices
// into its vertices).
struct SPart
{
    std::string m_Name;
    SLook m_Look;
    std::vector<SVertex> m_Vertices;
    std::vector<uint32_t> m_Indices;
};

// Every part of the model in file order: 47 parts, the cabin's and the engine bay's inner
// parts at 0, 1, 7, 8, 17, 19, 28, 39, 45 and 46, the outside everywhere else.
std::vector<SPart> BuildCarParts();
}

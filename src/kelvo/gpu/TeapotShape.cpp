#include "kelvo/gpu/PlatformShapes.h"

#include <array>
#include <cmath>
#include <vector>

namespace
{
using SFloat3 = std::array<float, 3>;

// The classic teapot as ten bicubic Bezier patches over 127 control points (z up). Rim, body,
// lid and bottom are a quarter each, mirrored in x and y; handle and spout are halves,
// mirrored in y.
constexpr uint32_t kPatchCount = 10;
constexpr uint32_t kQuarterPatches = 6;
constexpr int kPatches[kPatchCount][16] = {
    // rim
    {102, 103, 104, 105, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
    // body
    {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27},
    {24, 25, 26, 27, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40},
    // lid
    {96, 96, 96, 96, 97, 98, 99, 100, 101, 101, 101, 101, 0, 1, 2, 3},
    {0, 1, 2, 3, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117},
    // bottom
    {118, 118, 118, 118, 124, 122, 119, 121, 123, 126, 125, 120, 40, 39, 38, 37},
    // handle
    {41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56},
    {53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 28, 65, 66, 67},
    // spout
    {68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82, 83},
    {80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, 95},
};
constexpr float kPoints[127][3] = {
    {0.2f, 0.0f, 2.7f},           {0.2f, -0.112f, 2.7f},        {0.112f, -0.2f, 2.7f},
    {0.0f, -0.2f, 2.7f},          {1.3375f, 0.0f, 2.53125f},    {1.3375f, -0.749f, 2.53125f},
    {0.749f, -1.3375f, 2.53125f}, {0.0f, -1.3375f, 2.53125f},   {1.4375f, 0.0f, 2.53125f},
    {1.4375f, -0.805f, 2.53125f}, {0.805f, -1.4375f, 2.53125f}, {0.0f, -1.4375f, 2.53125f},
    {1.5f, 0.0f, 2.4f},           {1.5f, -0.84f, 2.4f},         {0.84f, -1.5f, 2.4f},
    {0.0f, -1.5f, 2.4f},          {1.75f, 0.0f, 1.875f},        {1.75f, -0.98f, 1.875f},
    {0.98f, -1.75f, 1.875f},      {0.0f, -1.75f, 1.875f},       {2.0f, 0.0f, 1.35f},
    {2.0f, -1.12f, 1.35f},        {1.12f, -2.0f, 1.35f},        {0.0f, -2.0f, 1.35f},
    {2.0f, 0.0f, 0.9f},           {2.0f, -1.12f, 0.9f},         {1.12f, -2.0f, 0.9f},
    {0.0f, -2.0f, 0.9f},          {-2.0f, 0.0f, 0.9f},          {2.0f, 0.0f, 0.45f},
    {2.0f, -1.12f, 0.45f},        {1.12f, -2.0f, 0.45f},        {0.0f, -2.0f, 0.45f},
    {1.5f, 0.0f, 0.225f},         {1.5f, -0.84f, 0.225f},       {0.84f, -1.5f, 0.225f},
    {0.0f, -1.5f, 0.225f},        {1.5f, 0.0f, 0.15f},          {1.5f, -0.84f, 0.15f},
    {0.84f, -1.5f, 0.15f},        {0.0f, -1.5f, 0.15f},         {-1.6f, 0.0f, 2.025f},
    {-1.6f, -0.3f, 2.025f},       {-1.5f, -0.3f, 2.25f},        {-1.5f, 0.0f, 2.25f},
    {-2.3f, 0.0f, 2.025f},        {-2.3f, -0.3f, 2.025f},       {-2.5f, -0.3f, 2.25f},
    {-2.5f, 0.0f, 2.25f},         {-2.7f, 0.0f, 2.025f},        {-2.7f, -0.3f, 2.025f},
    {-3.0f, -0.3f, 2.25f},        {-3.0f, 0.0f, 2.25f},         {-2.7f, 0.0f, 1.8f},
    {-2.7f, -0.3f, 1.8f},         {-3.0f, -0.3f, 1.8f},         {-3.0f, 0.0f, 1.8f},
    {-2.7f, 0.0f, 1.575f},        {-2.7f, -0.3f, 1.575f},       {-3.0f, -0.3f, 1.35f},
    {-3.0f, 0.0f, 1.35f},         {-2.5f, 0.0f, 1.125f},        {-2.5f, -0.3f, 1.125f},
    {-2.65f, -0.3f, 0.9375f},     {-2.65f, 0.0f, 0.9375f},      {-2.0f, -0.3f, 0.9f},
    {-1.9f, -0.3f, 0.6f},         {-1.9f, 0.0f, 0.6f},          {1.7f, 0.0f, 1.425f},
    {1.7f, -0.66f, 1.425f},       {1.7f, -0.66f, 0.6f},         {1.7f, 0.0f, 0.6f},
    {2.6f, 0.0f, 1.425f},         {2.6f, -0.66f, 1.425f},       {3.1f, -0.66f, 0.825f},
    {3.1f, 0.0f, 0.825f},         {2.3f, 0.0f, 2.1f},           {2.3f, -0.25f, 2.1f},
    {2.4f, -0.25f, 2.025f},       {2.4f, 0.0f, 2.025f},         {2.7f, 0.0f, 2.4f},
    {2.7f, -0.25f, 2.4f},         {3.3f, -0.25f, 2.4f},         {3.3f, 0.0f, 2.4f},
    {2.8f, 0.0f, 2.475f},         {2.8f, -0.25f, 2.475f},       {3.525f, -0.25f, 2.49375f},
    {3.525f, 0.0f, 2.49375f},     {2.9f, 0.0f, 2.475f},         {2.9f, -0.15f, 2.475f},
    {3.45f, -0.15f, 2.5125f},     {3.45f, 0.0f, 2.5125f},       {2.8f, 0.0f, 2.4f},
    {2.8f, -0.15f, 2.4f},         {3.2f, -0.15f, 2.4f},         {3.2f, 0.0f, 2.4f},
    {0.0f, 0.0f, 3.15f},          {0.8f, 0.0f, 3.15f},          {0.8f, -0.45f, 3.15f},
    {0.45f, -0.8f, 3.15f},        {0.0f, -0.8f, 3.15f},         {0.0f, 0.0f, 2.85f},
    {1.4f, 0.0f, 2.4f},           {1.4f, -0.784f, 2.4f},        {0.784f, -1.4f, 2.4f},
    {0.0f, -1.4f, 2.4f},          {0.4f, 0.0f, 2.55f},          {0.4f, -0.224f, 2.55f},
    {0.224f, -0.4f, 2.55f},       {0.0f, -0.4f, 2.55f},         {1.3f, 0.0f, 2.55f},
    {1.3f, -0.728f, 2.55f},       {0.728f, -1.3f, 2.55f},       {0.0f, -1.3f, 2.55f},
    {1.3f, 0.0f, 2.4f},           {1.3f, -0.728f, 2.4f},        {0.728f, -1.3f, 2.4f},
    {0.0f, -1.3f, 2.4f},          {0.0f, 0.0f, 0.0f},           {1.425f, -0.798f, 0.0f},
    {1.5f, 0.0f, 0.075f},         {1.425f, 0.0f, 0.0f},         {0.798f, -1.425f, 0.0f},
    {0.0f, -1.5f, 0.075f},        {0.0f, -1.425f, 0.0f},        {1.5f, -0.84f, 0.075f},
    {0.84f, -1.5f, 0.075f},
};

// Grid cells per patch side.
constexpr uint32_t kSteps = 6;
// Scale and height of the middle of the pot, so that it sits centred on the origin.
constexpr float kScale = 0.5f;
constexpr float kMiddleHeight = 1.575f;

// Cubic Bernstein weights at t and their derivatives.
void Bernstein(float t, float weights[4], float derivatives[4])
{
    const float s = 1.0f - t;
    weights[0] = s * s * s;
    weights[1] = 3.0f * t * s * s;
    weights[2] = 3.0f * t * t * s;
    weights[3] = t * t * t;
    derivatives[0] = -3.0f * s * s;
    derivatives[1] = 3.0f * s * s - 6.0f * t * s;
    derivatives[2] = 6.0f * t * s - 3.0f * t * t;
    derivatives[3] = 3.0f * t * t;
}

struct SPatchPoint
{
    SFloat3 m_Position;
    SFloat3 m_DerivativeU;
    SFloat3 m_DerivativeV;
};

SPatchPoint EvaluatePatch(const int (&patch)[16], const SFloat3& mirror, float u, float v)
{
    float wu[4], du[4], wv[4], dv[4];
    Bernstein(u, wu, du);
    Bernstein(v, wv, dv);
    SPatchPoint point{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
        {
            const float* control = kPoints[patch[i * 4 + j]];
            for (int axis = 0; axis < 3; ++axis)
            {
                const float c = control[axis] * mirror[axis];
                point.m_Position[axis] += wu[i] * wv[j] * c;
                point.m_DerivativeU[axis] += du[i] * wv[j] * c;
                point.m_DerivativeV[axis] += wu[i] * dv[j] * c;
            }
        }
    return point;
}

SFloat3 Cross(const SFloat3& a, const SFloat3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

float Length(const SFloat3& a)
{
    return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
}

// The unit surface normal, taken a little inside the patch where an edge collapses to a
// point (the lid's knob and the bottom's centre).
SFloat3 PatchNormal(const int (&patch)[16], const SFloat3& mirror, float u, float v, float orientation)
{
    SPatchPoint point = EvaluatePatch(patch, mirror, u, v);
    // A collapsed edge leaves one derivative at rounding noise.
    constexpr float kCollapsed = 1e-4f;
    if (Length(point.m_DerivativeU) < kCollapsed || Length(point.m_DerivativeV) < kCollapsed)
        point =
            EvaluatePatch(patch, mirror, u < 0.5f ? u + 1e-3f : u - 1e-3f, v < 0.5f ? v + 1e-3f : v - 1e-3f);
    SFloat3 normal = Cross(point.m_DerivativeU, point.m_DerivativeV);
    const float length = Length(normal);
    for (float& component : normal)
        component = length > 0.0f ? component * orientation / length : 0.0f;
    return normal;
}
}

SImportedMesh MakeTeapotShape()
{
    // The patches as given have u x v pointing into the pot; a mirrored copy turns it round.
    constexpr float kInward = -1.0f;
    const SFloat3 kMirrors[4] = {{1, 1, 1}, {-1, 1, 1}, {1, -1, 1}, {-1, -1, 1}};
    std::vector<SFloat3> positions, normals;
    std::vector<uint32_t> indices;
    for (uint32_t p = 0; p < kPatchCount; ++p)
    {
        const uint32_t copies = p < kQuarterPatches ? 4 : 2;
        for (uint32_t copy = 0; copy < copies; ++copy)
        {
            const SFloat3& mirror = kMirrors[p < kQuarterPatches ? copy : copy * 2];
            const float orientation = kInward * mirror[0] * mirror[1];
            const auto first = static_cast<uint32_t>(positions.size());
            for (uint32_t i = 0; i <= kSteps; ++i)
                for (uint32_t j = 0; j <= kSteps; ++j)
                {
                    const float u = static_cast<float>(i) / kSteps;
                    const float v = static_cast<float>(j) / kSteps;
                    const SFloat3 at = EvaluatePatch(kPatches[p], mirror, u, v).m_Position;
                    const SFloat3 normal = PatchNormal(kPatches[p], mirror, u, v, orientation);
                    // z up becomes y up by a quarter turn about x, which keeps the winding.
                    positions.push_back({at[0] * kScale, (at[2] - kMiddleHeight) * kScale, -at[1] * kScale});
                    normals.push_back({normal[0], normal[2], -normal[1]});
                }
            auto vertex = [&](uint32_t i, uint32_t j) { return first + i * (kSteps + 1) + j; };
            for (uint32_t i = 0; i < kSteps; ++i)
                for (uint32_t j = 0; j < kSteps; ++j)
                {
                    const uint32_t a = vertex(i, j), b = vertex(i + 1, j), c = vertex(i + 1, j + 1),
                                   d = vertex(i, j + 1);
                    // u x v is the winding of (a, b, c); the other way round when it faces in.
                    if (orientation > 0.0f)
                        indices.insert(indices.end(), {a, b, c, a, c, d});
                    else
                        indices.insert(indices.end(), {a, c, b, a, d, c});
                }
        }
    }
    SImportedMesh shape;
    shape.m_VertexCount = static_cast<uint32_t>(positions.size());
    shape.AddFloatStream("position", 3, 16, positions.front().data());
    shape.AddFloatStream("normal", 3, 16, normals.front().data());
    shape.m_Indices = std::move(indices);
    return shape;
}

#include "CarShape.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace car
{
namespace
{
// The model in metres: s runs from the nose (0) to the tail (1), heights above the ground.
constexpr float kRealLength = 4.46f;
constexpr float kBeltLine = 0.80f;
constexpr float kWheelRadius = 0.36f;
constexpr float kArchRadius = 0.40f;
constexpr float kFrontAxle = 0.215f;
constexpr float kRearAxle = 0.815f;
constexpr float kTrackHalf = 0.84f;
constexpr float kTireHalfWidth = 0.15f;
constexpr int kStations = 64;
constexpr int kRingPoints = 40;
constexpr int kWheelSegments = 32;
constexpr float kPi = std::numbers::pi_v<float>;

struct SKey
{
    float s;
    float value;
};

constexpr SKey kTop[] = {{0.000f, 0.50f}, {0.015f, 0.60f}, {0.05f, 0.66f}, {0.12f, 0.71f}, {0.22f, 0.76f},
                         {0.30f, 0.80f},  {0.34f, 0.84f},  {0.40f, 1.00f}, {0.46f, 1.14f}, {0.52f, 1.19f},
                         {0.60f, 1.18f},  {0.66f, 1.12f},  {0.74f, 1.04f}, {0.84f, 1.00f}, {0.93f, 0.98f},
                         {0.98f, 0.95f},  {1.000f, 0.90f}};
constexpr SKey kBottom[] = {{0.0f, 0.24f},  {0.03f, 0.13f}, {0.08f, 0.10f},
                            {0.92f, 0.10f}, {0.98f, 0.16f}, {1.0f, 0.30f}};
constexpr SKey kHalfWidth[] = {{0.0f, 0.80f},  {0.04f, 0.92f}, {0.12f, 0.98f}, {0.22f, 1.00f},
                               {0.50f, 0.98f}, {0.80f, 1.00f}, {0.94f, 0.97f}, {1.0f, 0.90f}};

// Smooth (Catmull-Rom) through the keys, by s.
template <size_t N>
float Curve(const SKey (&keys)[N], float s)
{
    s = std::clamp(s, 0.0f, 1.0f);
    size_t i = 0;
    while (i + 2 < N && keys[i + 1].s < s)
        ++i;
    const float p0 = keys[i == 0 ? 0 : i - 1].value;
    const float p1 = keys[i].value;
    const float p2 = keys[i + 1].value;
    const float p3 = keys[std::min(i + 2, N - 1)].value;
    const float t = (s - keys[i].s) / (keys[i + 1].s - keys[i].s);
    return 0.5f * (2 * p1 + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t +
                   (-p0 + 3 * p1 - 3 * p2 + p3) * t * t * t);
}

float Top(float s)
{
    return Curve(kTop, s);
}
float HalfWidth(float s)
{
    return Curve(kHalfWidth, s);
}
float AxleZ(float axle)
{
    return (axle - 0.5f) * kRealLength;
}
float SOfZ(float z)
{
    return z / kRealLength + 0.5f;
}

// The underside, lifted over the wheels into arches (never closer than 0.12 to the top).
float Bottom(float s)
{
    float bottom = Curve(kBottom, s);
    const float z = (s - 0.5f) * kRealLength;
    for (float axle : {kFrontAxle, kRearAxle})
    {
        const float dz = z - AxleZ(axle);
        if (std::fabs(dz) < kArchRadius)
            bottom = std::max(bottom, kWheelRadius + std::sqrt(kArchRadius * kArchRadius - dz * dz));
    }
    return std::min(bottom, Top(s) - 0.12f);
}

struct SV3
{
    float x, y, z;
};
SV3 operator-(SV3 a, SV3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
SV3 Cross(SV3 a, SV3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
SV3 Normalize(SV3 a)
{
    const float length = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return length > 1e-12f ? SV3{a.x / length, a.y / length, a.z / length} : SV3{0, 1, 0};
}

void AddVertex(SPart& part, SV3 p, SV3 n)
{
    part.m_Vertices.push_back({{p.x, p.y, p.z}, {n.x, n.y, n.z}});
}

void AddTriangle(SPart& part, SV3 a, SV3 na, SV3 b, SV3 nb, SV3 c, SV3 nc)
{
    const uint32_t first = static_cast<uint32_t>(part.m_Vertices.size());
    AddVertex(part, a, na);
    AddVertex(part, b, nb);
    AddVertex(part, c, nc);
    part.m_Indices.insert(part.m_Indices.end(), {first, first + 1, first + 2});
}

void AddQuad(SPart& part, SV3 a, SV3 b, SV3 c, SV3 d, SV3 n)
{
    AddTriangle(part, a, n, b, n, c, n);
    AddTriangle(part, a, n, c, n, d, n);
}

void AddBox(SPart& part, SV3 centre, SV3 half)
{
    const float sx[2] = {centre.x - half.x, centre.x + half.x};
    const float sy[2] = {centre.y - half.y, centre.y + half.y};
    const float sz[2] = {centre.z - half.z, centre.z + half.z};
    auto corner = [&](int i, int j, int k) { return SV3{sx[i], sy[j], sz[k]}; };
    for (int side = 0; side < 2; ++side)
    {
        const float sign = side == 0 ? -1.0f : 1.0f;
        AddQuad(part, corner(side, 0, 0), corner(side, 1, 0), corner(side, 1, 1), corner(side, 0, 1),
                {sign, 0, 0});
        AddQuad(part, corner(0, side, 0), corner(1, side, 0), corner(1, side, 1), corner(0, side, 1),
                {0, sign, 0});
        AddQuad(part, corner(0, 0, side), corner(1, 0, side), corner(1, 1, side), corner(0, 1, side),
                {0, 0, sign});
    }
}

// A closed cylinder around an axis along x (alongX) or z.
void AddCylinder(SPart& part, SV3 centre, float radius, float halfLength, bool alongX)
{
    auto place = [&](float along, float a, float b) {
        return alongX ? SV3{centre.x + along, centre.y + a, centre.z + b}
                      : SV3{centre.x + a, centre.y + b, centre.z + along};
    };
    auto axis = [&](float sign) { return alongX ? SV3{sign, 0, 0} : SV3{0, 0, sign}; };
    for (int i = 0; i < kWheelSegments; ++i)
    {
        const float a0 = 2 * kPi * i / kWheelSegments;
        const float a1 = 2 * kPi * (i + 1) / kWheelSegments;
        const SV3 n0 = alongX ? SV3{0, std::cos(a0), std::sin(a0)} : SV3{std::cos(a0), std::sin(a0), 0};
        const SV3 n1 = alongX ? SV3{0, std::cos(a1), std::sin(a1)} : SV3{std::cos(a1), std::sin(a1), 0};
        const SV3 p00 = place(-halfLength, radius * std::cos(a0), radius * std::sin(a0));
        const SV3 p01 = place(halfLength, radius * std::cos(a0), radius * std::sin(a0));
        const SV3 p10 = place(-halfLength, radius * std::cos(a1), radius * std::sin(a1));
        const SV3 p11 = place(halfLength, radius * std::cos(a1), radius * std::sin(a1));
        AddTriangle(part, p00, n0, p10, n1, p11, n1);
        AddTriangle(part, p00, n0, p11, n1, p01, n0);
        AddTriangle(part, place(-halfLength, 0, 0), axis(-1), p10, axis(-1), p00, axis(-1));
        AddTriangle(part, place(halfLength, 0, 0), axis(1), p01, axis(1), p11, axis(1));
    }
}

SLook Look(float r, float g, float b, float specular, float power, float emissive = 0.0f)
{
    return {{r, g, b, 1.0f},
            {specular, specular, specular, 1.0f},
            {r * 0.2f, g * 0.2f, b * 0.2f, 1.0f},
            {r * emissive, g * emissive, b * emissive, 1.0f},
            power};
}

const SLook kBluePaint = Look(0.10f, 0.20f, 0.55f, 0.7f, 40.0f);
const SLook kDarkPaint = Look(0.06f, 0.06f, 0.08f, 0.6f, 40.0f);
const SLook kGlass = Look(0.05f, 0.08f, 0.12f, 0.9f, 80.0f);
const SLook kTire = Look(0.07f, 0.07f, 0.07f, 0.1f, 5.0f);
const SLook kChrome = Look(0.70f, 0.72f, 0.76f, 1.0f, 60.0f);
const SLook kHeadlight = Look(0.90f, 0.90f, 0.80f, 1.0f, 60.0f, 0.8f);
const SLook kTaillight = Look(0.80f, 0.05f, 0.05f, 0.6f, 30.0f, 0.6f);
const SLook kTrim = Look(0.03f, 0.03f, 0.03f, 0.2f, 10.0f);
const SLook kInterior = Look(0.35f, 0.22f, 0.12f, 0.2f, 10.0f);
const SLook kMachine = Look(0.40f, 0.40f, 0.42f, 0.5f, 20.0f);

// The body: rings of a rounded section along the car, split into painted panels (eight
// lengthwise, left and right) and four windows.
constexpr float kPanelEnds[] = {0.06f, 0.18f, 0.30f, 0.45f, 0.60f, 0.75f, 0.90f, 1.01f};
constexpr int kPanelCount = 8;
enum EGlass
{
    kWindshield,
    kLeftWindow,
    kRightWindow,
    kRearWindow,
    kGlassCount
};

SV3 RingPoint(float s, float angle)
{
    const float bottom = Bottom(s);
    const float top = Top(s);
    const float c = std::cos(angle);
    const float sn = std::sin(angle);
    // A rounded-box section: superellipse of exponent 3.5.
    const float cx = std::copysign(std::pow(std::fabs(c), 2.0f / 3.5f), c);
    const float cy = std::copysign(std::pow(std::fabs(sn), 2.0f / 3.5f), sn);
    const float y = 0.5f * (bottom + top) + 0.5f * (top - bottom) * cy;
    // The cabin narrows above the belt line.
    float narrowing = 1.0f;
    if (top > kBeltLine + 0.05f && y > kBeltLine)
    {
        const float above = std::clamp((y - kBeltLine) / (top - kBeltLine), 0.0f, 1.0f);
        narrowing = 1.0f - 0.28f * above * above * (3 - 2 * above);
    }
    return {HalfWidth(s) * cx * narrowing, y, (s - 0.5f) * kRealLength};
}

// Which window a body triangle belongs to, or -1 for paint.
int GlassOf(float s, SV3 centre, SV3 normal)
{
    if (centre.y < kBeltLine + 0.03f || Top(s) < kBeltLine + 0.1f)
        return -1;
    if (s < 0.46f)
        return kWindshield;
    if (std::fabs(normal.y) > 0.75f || s > 0.72f)
        return -1;
    if (s > 0.64f)
        return kRearWindow;
    return centre.x < 0 ? kLeftWindow : kRightWindow;
}

void BuildBody(std::vector<SPart>& panels, std::vector<SPart>& glass)
{
    std::vector<SV3> points((kStations + 1) * kRingPoints);
    std::vector<SV3> normals(points.size());
    auto stationS = [](int i) { return static_cast<float>(i) / kStations; };
    auto ringAngle = [](int k) { return -0.5f * kPi + 2 * kPi * k / kRingPoints; };
    for (int i = 0; i <= kStations; ++i)
        for (int k = 0; k < kRingPoints; ++k)
            points[i * kRingPoints + k] = RingPoint(stationS(i), ringAngle(k));
    // Smooth normals from the neighbours along and around; pointing away from the middle.
    for (int i = 0; i <= kStations; ++i)
        for (int k = 0; k < kRingPoints; ++k)
        {
            const SV3 along = points[std::min(i + 1, kStations) * kRingPoints + k] -
                              points[std::max(i - 1, 0) * kRingPoints + k];
            const SV3 around = points[i * kRingPoints + (k + 1) % kRingPoints] -
                               points[i * kRingPoints + (k + kRingPoints - 1) % kRingPoints];
            SV3 n = Normalize(Cross(around, along));
            const SV3 p = points[i * kRingPoints + k];
            const float middle = 0.5f * (Bottom(stationS(i)) + Top(stationS(i)));
            if (n.x * p.x + n.y * (p.y - middle) < 0)
                n = {-n.x, -n.y, -n.z};
            normals[i * kRingPoints + k] = n;
        }
    auto panelOf = [&](float s, float x) {
        int panel = 0;
        while (panel + 1 < kPanelCount && s >= kPanelEnds[panel])
            ++panel;
        return &panels[panel * 2 + (x < 0 ? 0 : 1)];
    };
    auto emit = [&](SPart* part, int a, int b, int c) {
        AddTriangle(*part, points[a], normals[a], points[b], normals[b], points[c], normals[c]);
    };
    for (int i = 0; i < kStations; ++i)
        for (int k = 0; k < kRingPoints; ++k)
        {
            const int a = i * kRingPoints + k;
            const int b = i * kRingPoints + (k + 1) % kRingPoints;
            const int c = (i + 1) * kRingPoints + (k + 1) % kRingPoints;
            const int d = (i + 1) * kRingPoints + k;
            const float s = (stationS(i) + stationS(i + 1)) * 0.5f;
            const SV3 centre = {(points[a].x + points[c].x) * 0.5f, (points[a].y + points[c].y) * 0.5f,
                                (points[a].z + points[c].z) * 0.5f};
            const SV3 normal = Normalize(
                {normals[a].x + normals[c].x, normals[a].y + normals[c].y, normals[a].z + normals[c].z});
            const int window = GlassOf(s, centre, normal);
            SPart* part = window >= 0 ? &glass[window] : panelOf(s, centre.x);
            emit(part, a, b, c);
            emit(part, a, c, d);
        }
    // Nose and tail faces.
    for (int end = 0; end < 2; ++end)
    {
        const int station = end == 0 ? 0 : kStations;
        const float s = stationS(station);
        const SV3 middle = {0.0f, 0.5f * (Bottom(s) + Top(s)), (s - 0.5f) * kRealLength};
        const SV3 n = {0, 0, end == 0 ? -1.0f : 1.0f};
        for (int k = 0; k < kRingPoints; ++k)
        {
            const SV3 p0 = points[station * kRingPoints + k];
            const SV3 p1 = points[station * kRingPoints + (k + 1) % kRingPoints];
            AddTriangle(*panelOf(s, p0.x + p1.x), middle, n, p0, n, p1, n);
        }
    }
}

SV3 At(float x, float y, float s)
{
    return {x, y, (s - 0.5f) * kRealLength};
}

SPart Named(const char* name, const SLook& look)
{
    SPart part;
    part.m_Name = name;
    part.m_Look = look;
    return part;
}

// Metres around the car's middle on the ground into the world's units and place.
void PlaceInWorld(SPart& part)
{
    for (SVertex& vertex : part.m_Vertices)
    {
        vertex.m_Position[0] *= kScale;
        vertex.m_Position[1] = vertex.m_Position[1] * kScale + kGroundY;
        vertex.m_Position[2] *= kScale;
    }
}
}

bool InsideSilhouette(float z, float y)
{
    const float zm = z / kScale;
    const float ym = (y - kGroundY) / kScale;
    for (float axle : {kFrontAxle, kRearAxle})
    {
        const float dz = zm - AxleZ(axle);
        const float dy = ym - kWheelRadius;
        // The wheel with its arch: no sliver of air between them.
        if (dz * dz + dy * dy <= kArchRadius * kArchRadius)
            return true;
    }
    const float s = SOfZ(zm);
    return s >= 0.0f && s <= 1.0f && ym >= Bottom(s) && ym <= Top(s);
}

std::vector<SPart> BuildCarParts()
{
    static const char* kPanelNames[kPanelCount] = {"nose",      "front",       "front_fender", "front_door",
                                                   "rear_door", "rear_fender", "engine_cover", "tail"};
    std::vector<SPart> panels;
    for (int panel = 0; panel < kPanelCount; ++panel)
        for (const char* side : {"_left", "_right"})
            panels.push_back(
                Named((std::string(kPanelNames[panel]) + side).c_str(), panel < 4 ? kBluePaint : kDarkPaint));
    std::vector<SPart> glass = {Named("windshield", kGlass), Named("left_window", kGlass),
                                Named("right_window", kGlass), Named("rear_window", kGlass)};
    BuildBody(panels, glass);

    std::vector<SPart> outside = panels;
    outside.insert(outside.end(), glass.begin(), glass.end());
    static const char* kWheelNames[4] = {"front_left", "front_right", "rear_left", "rear_right"};
    for (int wheel = 0; wheel < 4; ++wheel)
    {
        const float side = wheel % 2 == 0 ? -1.0f : 1.0f;
        const float axle = wheel < 2 ? kFrontAxle : kRearAxle;
        SPart tire = Named((std::string("tire_") + kWheelNames[wheel]).c_str(), kTire);
        AddCylinder(tire, At(side * kTrackHalf, kWheelRadius, axle), kWheelRadius, kTireHalfWidth, true);
        outside.push_back(tire);
    }
    for (int wheel = 0; wheel < 4; ++wheel)
    {
        const float side = wheel % 2 == 0 ? -1.0f : 1.0f;
        const float axle = wheel < 2 ? kFrontAxle : kRearAxle;
        SPart rim = Named((std::string("rim_") + kWheelNames[wheel]).c_str(), kChrome);
        AddCylinder(rim, At(side * (kTrackHalf + 0.01f), kWheelRadius, axle), 0.25f, kTireHalfWidth, true);
        outside.push_back(rim);
    }
    for (float side : {-1.0f, 1.0f})
    {
        SPart light = Named(side < 0 ? "headlight_left" : "headlight_right", kHeadlight);
        AddBox(light, At(side * 0.60f, 0.56f, 0.03f), {0.20f, 0.05f, 0.10f});
        outside.push_back(light);
    }
    for (float side : {-1.0f, 1.0f})
    {
        SPart light = Named(side < 0 ? "taillight_left" : "taillight_right", kTaillight);
        AddBox(light, At(side * 0.62f, 0.78f, 0.995f), {0.24f, 0.04f, 0.04f});
        outside.push_back(light);
    }
    for (float side : {-1.0f, 1.0f})
    {
        SPart mirror = Named(side < 0 ? "mirror_left" : "mirror_right", kDarkPaint);
        AddBox(mirror, At(side * 1.04f, 0.92f, 0.37f), {0.09f, 0.05f, 0.10f});
        outside.push_back(mirror);
    }
    SPart intake = Named("front_intake", kTrim);
    AddBox(intake, At(0.0f, 0.36f, 0.01f), {0.30f, 0.12f, 0.06f});
    outside.push_back(intake);
    SPart spoiler = Named("rear_spoiler", kDarkPaint);
    AddBox(spoiler, At(0.0f, 1.03f, 0.93f), {0.82f, 0.02f, 0.12f});
    outside.push_back(spoiler);
    SPart exhaust = Named("exhaust", kChrome);
    AddCylinder(exhaust, At(0.0f, 0.30f, 0.99f), 0.07f, 0.10f, false);
    outside.push_back(exhaust);

    std::vector<SPart> inside;
    auto addInnerBox = [&](const char* name, const SLook& look, SV3 centre, SV3 half) {
        inside.push_back(Named(name, look));
        AddBox(inside.back(), centre, half);
    };
    addInnerBox("seat_left", kInterior, At(-0.35f, 0.45f, 0.55f), {0.22f, 0.25f, 0.25f});
    addInnerBox("seat_right", kInterior, At(0.35f, 0.45f, 0.55f), {0.22f, 0.25f, 0.25f});
    addInnerBox("dashboard", kTrim, At(0.0f, 0.70f, 0.40f), {0.75f, 0.08f, 0.12f});
    inside.push_back(Named("steering_wheel", kTrim));
    AddCylinder(inside.back(), At(-0.35f, 0.78f, 0.44f), 0.17f, 0.02f, false);
    addInnerBox("engine", kMachine, At(0.0f, 0.55f, 0.72f), {0.45f, 0.28f, 0.30f});
    addInnerBox("gearbox", kMachine, At(0.0f, 0.40f, 0.86f), {0.25f, 0.18f, 0.15f});
    addInnerBox("radiator_left", kMachine, At(-0.70f, 0.45f, 0.26f), {0.08f, 0.15f, 0.15f});
    addInnerBox("radiator_right", kMachine, At(0.70f, 0.45f, 0.26f), {0.08f, 0.15f, 0.15f});
    addInnerBox("fuel_tank", kMachine, At(0.0f, 0.35f, 0.63f), {0.50f, 0.12f, 0.08f});
    addInnerBox("cabin_floor", kTrim, At(0.0f, 0.16f, 0.52f), {0.80f, 0.02f, 0.40f});

    constexpr std::array<int, 10> kInnerSlots = {0, 1, 7, 8, 17, 19, 28, 39, 45, 46};
    std::vector<SPart> parts;
    size_t nextOutside = 0;
    size_t nextInside = 0;
    for (int slot = 0; nextOutside < outside.size() || nextInside < inside.size(); ++slot)
    {
        const bool inner = std::find(kInnerSlots.begin(), kInnerSlots.end(), slot) != kInnerSlots.end();
        const bool takeInner = nextOutside == outside.size() || (inner && nextInside < inside.size());
        parts.push_back(takeInner ? inside[nextInside++] : outside[nextOutside++]);
    }
    for (SPart& part : parts)
        PlaceInWorld(part);
    return parts;
}
}

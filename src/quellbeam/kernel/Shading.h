// What a ray sees: the nearest ball, else the floor plane (for downward rays) or the sky; the
// point light's diffuse and specular terms; the shadow ray; the mirror bounces.
#pragma once

#include "quellbeam/kernel/GridTraversal.h"

namespace quellbeam
{
// Ball hits beyond this distance count as missed (the sky or floor shows instead).
inline constexpr float kBallRange = 1000.0f;
// A surface this far away ends the bounces (nothing was hit).
inline constexpr float kBounceRange = 10000.0f;
inline constexpr float kShadowReach = 0.99f;
inline constexpr float kShadowFactor = 0.3f;
inline constexpr float kMinBounceWeight = 0.05f;
inline constexpr int kBounceLimit = 3;
inline constexpr float kFloorTextureScale = 0.015f;

// The surface a ray found, with its material.
struct SSurface
{
    float t; // ray parameter; kNoHitDistance for the sky
    bool sky;
    bool floor;
    SVec3 point;
    SVec3 normal;
    SVec4 colour; // r, g, b, specular exponent
    float reflectance;
    float diffuse;
};

QB_INLINE SVec4 SkyColour(const SKernelConstants& constants, SVec3 direction)
{
    float s = direction.y - 0.3f;
    s = s < 0.0f ? 0.0f : (s > 1.0f ? 1.0f : s);
    return Vec4(constants.skyDark) * s + Vec4(constants.skyBright) * (1.0f - s);
}

// Fraction in (0, 1]: whole numbers give 1.
QB_INLINE float FractionAbove0(float v)
{
    const float f = v - floorf(v);
    return f == 0.0f ? 1.0f : f;
}

QB_INLINE uint32_t FloorTexel(const SSceneView& scene, SVec3 point)
{
    const int last = (int)scene.floorWidth - 1;
    const int bottom = (int)scene.floorHeight - 1;
    const int x = ClampCell((int)floorf(point.x * kFloorTextureScale), last);
    const int y = ClampCell((int)floorf(point.z * kFloorTextureScale), bottom);
    return scene.FloorTexel((uint32_t)y * scene.floorWidth + (uint32_t)x);
}

QB_INLINE SSurface SkySurface()
{
    SSurface surface = {};
    surface.t = kNoHitDistance;
    surface.sky = true;
    return surface;
}

// The floor at parameter t: checker material from the constants or the floor texture's colour.
QB_INLINE SSurface FloorSurface(const SSceneView& scene, const SKernelConstants& constants, SVec3 origin,
                                SVec3 direction, float t)
{
    SSurface surface = {};
    surface.t = t;
    surface.floor = true;
    surface.point = origin + direction * t;
    surface.normal = Vec3(0.0f, 1.0f, 0.0f);
    const float fx = FractionAbove0(surface.point.x * constants.checkerScale + 0.5f);
    const float fz = FractionAbove0(surface.point.z * constants.checkerScale - 0.5f);
    const bool second = (fx < 0.5f && fz < 0.5f) || (fx > 0.5f && fz > 0.5f);
    const float* material = constants.mat + (second ? 8 : 0);
    surface.colour = Vec4(material);
    surface.reflectance = material[4];
    surface.diffuse = material[5];
    if (constants.planeTexture != 0 && scene.floorTexels != nullptr)
    {
        const uint32_t texel = FloorTexel(scene, surface.point);
        surface.colour.x = (float)((texel >> 16) & 0xFF) / 255.0f;
        surface.colour.y = (float)((texel >> 8) & 0xFF) / 255.0f;
        surface.colour.z = (float)(texel & 0xFF) / 255.0f;
    }
    return surface;
}

QB_INLINE SSurface BallSurface(const SSceneView& scene, SVec3 origin, SVec3 direction, const SRayHit& hit)
{
    SSurface surface = {};
    surface.t = hit.t;
    surface.point = origin + direction * hit.t;
    surface.normal = Normalise(surface.point - Xyz(scene.Element(hit.ball)));
    const SVec4 first = scene.Element(scene.count + 2 * hit.ball);
    const SVec4 second = scene.Element(scene.count + 2 * hit.ball + 1);
    surface.colour = first;
    surface.reflectance = second.x;
    surface.diffuse = second.y;
    return surface;
}

// Floor or sky, ignoring the balls.
QB_INLINE SSurface EnvironmentSurface(const SSceneView& scene, const SKernelConstants& constants,
                                      SVec3 origin, SVec3 direction)
{
    if (direction.y >= 0.0f)
        return SkySurface();
    return FloorSurface(scene, constants, origin, direction, (constants.planeY - origin.y) / direction.y);
}

// The bound of the search for a ray's nearest surface: balls within range (upward rays) or no
// further than the floor (downward rays), so a downward ray stops at the floor; tFloor is where
// a downward ray meets the floor.
QB_INLINE float SurfaceSearchBound(const SKernelConstants& constants, SVec3 origin, SVec3 direction,
                                   float& tFloor)
{
    tFloor = 0.0f;
    if (direction.y >= 0.0f)
        return kBallRange;
    tFloor = (constants.planeY - origin.y) / direction.y;
    // Hits are accepted below the bound: the next float after tFloor keeps a ball at tFloor.
    return fminf(kBallRange, nextafterf(tFloor, kNoHitDistance));
}

// The surface a search found: the ball hit, else the sky or the floor.
QB_INLINE SSurface SurfaceOfSearch(const SSceneView& scene, const SKernelConstants& constants, SVec3 origin,
                                   SVec3 direction, bool found, const SRayHit& hit, float tFloor)
{
    if (found)
        return BallSurface(scene, origin, direction, hit);
    if (direction.y >= 0.0f)
        return SkySurface();
    return FloorSurface(scene, constants, origin, direction, tFloor);
}

// The nearest surface along a ray.
template <class TBalls>
QB_INLINE SSurface FindSurface(const SSceneView& scene, const SKernelConstants& constants,
                               const TBalls& balls, SVec3 origin, SVec3 direction)
{
    SRayHit hit;
    float tFloor;
    hit.t = SurfaceSearchBound(constants, origin, direction, tFloor);
    const bool found = balls.template Trace<false>(origin, direction, hit);
    return SurfaceOfSearch(scene, constants, origin, direction, found, hit, tFloor);
}

QB_INLINE SVec3 Reflect(SVec3 direction, SVec3 normal)
{
    return Normalise(direction - normal * (2.0f * Dot(normal, direction)));
}

// Diffuse and specular light of a surface seen along direction; lit tells whether it faces the light.
QB_INLINE SVec4 LightSurface(const SKernelConstants& constants, const SSurface& surface, SVec3 direction,
                             bool& lit)
{
    if (surface.sky)
    {
        lit = false;
        return SkyColour(constants, direction);
    }
    const SVec3 toLight = Normalise(Xyz(constants.lightPos) - surface.point);
    const float nl = Dot(surface.normal, toLight);
    SVec4 colour = {0.0f, 0.0f, 0.0f, 0.0f};
    lit = nl > 0.0f;
    if (lit)
    {
        const float d = surface.diffuse * nl;
        colour = SVec4{surface.colour.x * d, surface.colour.y * d, surface.colour.z * d, 0.0f};
    }
    if (surface.reflectance > 0.0f)
    {
        const float lr = Dot(toLight, Reflect(direction, surface.normal));
        if (lr > 0.0f)
        {
            const float highlight = surface.reflectance * powf(lr, surface.colour.w);
            colour.x += highlight;
            colour.y += highlight;
            colour.z += highlight;
        }
    }
    return colour;
}

// True when a ball lies between the point and the light.
template <class TBalls>
QB_INLINE bool IsShadowed(const SKernelConstants& constants, const TBalls& balls, SVec3 point)
{
    SRayHit hit;
    hit.t = kShadowReach;
    return balls.template Trace<true>(point, Xyz(constants.lightPos) - point, hit);
}

// A camera ray's colour between its traces: the light added so far and the next mirror ray.
// The steps below are taken in this order by one ray (TraceCameraRay) or by rays traced
// together, and give the same colour either way.
struct SCameraShading
{
    SVec4 colour;
    bool shadowTest; // the first surface faces the light: a shadow ray from shadowOrigin follows
    SVec3 shadowOrigin;
    float weight; // share of the next mirror ray's light
    SVec3 rayOrigin;
    SVec3 rayDirection;
    int bounce;
    bool stopped; // a mirror ray left the scene
};

// Lights the camera ray's surface; false when it is the sky, whose colour is then final.
QB_INLINE bool BeginShading(const SKernelConstants& constants, const SSurface& surface, SVec3 origin,
                            SVec3 direction, SCameraShading& shading)
{
    bool lit = false;
    shading.colour = LightSurface(constants, surface, direction, lit);
    if (surface.sky)
        return false;
    shading.shadowTest = lit;
    shading.shadowOrigin = origin + direction * (surface.t + kHitEpsilon);
    // Mirror bounces: a lit floor point reflects once more than a ball or an unlit point.
    shading.weight = surface.reflectance;
    shading.rayOrigin = surface.point;
    shading.rayDirection = Reflect(direction, surface.normal);
    shading.bounce = (lit && surface.floor) ? 0 : 1;
    shading.stopped = false;
    return true;
}

QB_INLINE void ApplyShadow(SCameraShading& shading)
{
    shading.colour = shading.colour * kShadowFactor;
}

QB_INLINE bool WantsBounce(const SCameraShading& shading)
{
    return !shading.stopped && shading.bounce < kBounceLimit && !(shading.weight < kMinBounceWeight);
}

// Adds what the mirror ray found and aims the next one.
QB_INLINE void AddBounce(const SKernelConstants& constants, const SSurface& next, SCameraShading& shading)
{
    bool nextLit = false;
    shading.colour =
        shading.colour + LightSurface(constants, next, shading.rayDirection, nextLit) * shading.weight;
    shading.weight *= next.sky ? 0.0f : next.reflectance;
    if (next.t >= kBounceRange)
    {
        shading.stopped = true;
        return;
    }
    shading.rayOrigin = next.point;
    shading.rayDirection = Reflect(shading.rayDirection, next.normal);
    ++shading.bounce;
}

// Adds what the last mirror sees of the floor or sky, without balls.
QB_INLINE SVec4 FinishShading(const SSceneView& scene, const SKernelConstants& constants,
                              const SCameraShading& shading)
{
    const SSurface environment =
        EnvironmentSurface(scene, constants, shading.rayOrigin, shading.rayDirection);
    bool environmentLit = false;
    return shading.colour +
           LightSurface(constants, environment, shading.rayDirection, environmentLit) * shading.weight;
}

// Colour of one camera ray: shaded surface, shadow, then mirror bounces. Every ray traced
// through the balls is reported to rays (SRayCounts or a recorder) first.
template <class TRayLog, class TBalls>
QB_INLINE SVec4 TraceCameraRay(const SSceneView& scene, const SKernelConstants& constants, SVec3 origin,
                               SVec3 direction, TRayLog& rays, const TBalls& balls)
{
    rays.Primary(origin, direction);
    SCameraShading shading;
    if (!BeginShading(constants, FindSurface(scene, constants, balls, origin, direction), origin, direction,
                      shading))
        return shading.colour;
    if (shading.shadowTest)
    {
        rays.Shadow(shading.shadowOrigin, Xyz(constants.lightPos) - shading.shadowOrigin);
        if (IsShadowed(constants, balls, shading.shadowOrigin))
            ApplyShadow(shading);
    }
    while (WantsBounce(shading))
    {
        rays.Bounce(shading.rayOrigin, shading.rayDirection);
        AddBounce(constants, FindSurface(scene, constants, balls, shading.rayOrigin, shading.rayDirection),
                  shading);
    }
    return FinishShading(scene, constants, shading);
}

// The same through the grid.
template <class TRayLog>
QB_INLINE SVec4 TraceCameraRay(const SSceneView& scene, const SKernelConstants& constants, SVec3 origin,
                               SVec3 direction, TRayLog& rays)
{
    return TraceCameraRay(scene, constants, origin, direction, rays, SGridQuery{scene, constants});
}

// Camera ray through pixel (x, y): the corner directions interpolated, not normalised.
QB_INLINE SVec3 CameraRayDirection(const SKernelConstants& constants, float x, float y, float inverseWidth,
                                   float inverseHeight)
{
    const SVec3 d00 = Xyz(constants.view[1]);
    const SVec3 d10 = Xyz(constants.view[2]);
    const SVec3 d01 = Xyz(constants.view[3]);
    return d00 + (d10 - d00) * (x * inverseWidth) + (d01 - d00) * (y * inverseHeight);
}

// Traces pixels [x0, x1) x [y0, y1) into rows of `pitch` four-float elements.
template <class TRayLog, class TBalls>
QB_INLINE void TraceRect(const SSceneView& scene, const SKernelConstants& constants, uint32_t x0, uint32_t x1,
                         uint32_t y0, uint32_t y1, float inverseWidth, float inverseHeight, SVec4* output,
                         uint32_t pitch, TRayLog& rays, const TBalls& balls)
{
    const SVec3 origin = Xyz(constants.view[0]);
    for (uint32_t y = y0; y < y1; ++y)
        for (uint32_t x = x0; x < x1; ++x)
        {
            const SVec3 direction =
                CameraRayDirection(constants, (float)x, (float)y, inverseWidth, inverseHeight);
            output[y * pitch + x] = TraceCameraRay(scene, constants, origin, direction, rays, balls);
        }
}
}

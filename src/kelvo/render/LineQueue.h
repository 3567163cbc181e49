// The renderer's debug lines for one frame: lines queued in world space and lines already
// in camera space. Drawing moves the world-space lines into camera space with the view
// matrix (or drops them when there is no view), draws all of them through the mesh
// "line_mesh" and empties both queues. Main thread only.
#pragma once

#include "kelvo/core/Math.h"

#include <cstdint>
#include <vector>

struct SLineRecord
{
    SVector4 m_From;
    SVector4 m_To;
    // Packed 0xAARRGGBB colours at both ends.
    uint32_t m_ColorFrom = 0;
    uint32_t m_ColorTo = 0;
};

class CLineQueue
{
public:
    // Rays longer than this, or of no usable length, are drawn this long.
    static constexpr float kMaxRayLength = 400.0f;

    void AddCameraLine(const SVector4& from, const SVector4& to, uint32_t colorFrom, uint32_t colorTo);
    void AddLine(const SVector4& from, const SVector4& to, uint32_t colorFrom, uint32_t colorTo);
    // The 12 edges of the box (minimum, maximum) in world space, w = 1.
    void AddBox(const SVector4& minimum, const SVector4& maximum, uint32_t color);
    // From the origin along the direction for length, when 0 < length < 400, else 400.
    void AddRay(const SVector4& origin, const SVector4& direction, float length, uint32_t colorFrom,
                uint32_t colorTo);

    // World-space lines into the camera-space queue through view (row vectors, w = 1); with
    // no view they are dropped. The world-space queue is empty afterwards.
    void MoveToCameraSpace(const SMatrix* view);
    // Draws the camera-space lines and empties that queue; 27 without the effect "default",
    // 28 without the mesh "line_mesh", 29 when either resource is missing, else 0.
    uint32_t Draw();

    const std::vector<SLineRecord>& GetWorldLines() const { return m_WorldLines; }
    const std::vector<SLineRecord>& GetCameraLines() const { return m_CameraLines; }

private:
    std::vector<SLineRecord> m_CameraLines;
    std::vector<SLineRecord> m_WorldLines;
};

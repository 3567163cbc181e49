#include "BenchScenes.h"

#include <cmath>

namespace bench
{
using quellbeam::CGeomTracer;
using quellbeam::CMemoryTexture;
using quellbeam::SVec3;
using quellbeam::Vec3;

namespace
{
constexpr SCameraKey kJ1 = {{{0.999822f, -0.0022556f, -0.0188646f, -0.171833f},
                             {0.0f, 0.992929f, -0.11872f, 1.01515f},
                             {0.0189989f, 0.118699f, 0.992755f, 14.8462f}}};
constexpr SCameraKey kJ3 = {{{0.963504f, 0.125984f, -0.236196f, 6.42423f},
                             {0.0f, 0.882334f, 0.470627f, 64.4149f},
                             {0.267695f, -0.453451f, 0.850133f, 118.499f}}};
constexpr SCameraKey kB0 = {{{0.999917f, -0.000078f, 0.0129994f, -5.13626f},
                             {0.0f, 0.999982f, 0.006f, 8.9032f},
                             {-0.0129997f, -0.0059995f, 0.999901f, 154.573f}}};
constexpr SCameraKey kB4 = {{{0.999819f, 0.0060715f, -0.0181986f, -6.27222f},
                             {0.0f, 0.948609f, 0.316466f, 6.69948f},
                             {0.0191848f, -0.316408f, 0.948438f, 70.9855f}}};

const float kWhite[3] = {1, 1, 1};

void StartSpheres(CGeomTracer& tracer, CMemoryTexture&)
{
    tracer.UploadSpheres();
}

// The juggler scene five seconds in: one figure, the camera rising.
void SingleJuggler(CGeomTracer& tracer, CMemoryTexture&)
{
    const float green[3] = {0, 1, 0}, yellow[3] = {1, 1, 0}, light[3] = {0, 60, 60};
    tracer.SetShading(false, green, yellow, light);
    tracer.StartSingleJuggler();
    tracer.SetTime(1.9f * 5.0f);
    tracer.Update();
    tracer.UploadSpheres();
}

// The juggler scene at 20 s: the field under the textured floor.
void JugglerField(CGeomTracer& tracer, CMemoryTexture& floor)
{
    const float light[3] = {0, 60, 60};
    tracer.SetShading(true, kWhite, kWhite, light);
    tracer.SetTexture(&floor);
    tracer.StartJugglerField();
    tracer.SetTime(1.9f * 20.0f);
    tracer.Update();
    tracer.UploadSpheres();
}

// The balls scene at 18 s, advanced frame by frame at 30 frames per second with its gravity.
void BallSimulation(CGeomTracer& tracer, CMemoryTexture& floor)
{
    tracer.SetTexture(&floor);
    for (int frame = 0; frame <= 18 * 30; ++frame)
    {
        const float t = static_cast<float>(frame) / 30.0f;
        const float light[3] = {0, 60 + std::sin(t), 30};
        tracer.SetShading(true, kWhite, kWhite, light);
        tracer.StartBallSimulation(5);
        tracer.SetTime(t);
        if (t > 17.0f)
        {
            const float gravity[3] = {3 * std::sin(t - 17), -1, 0};
            tracer.SetGravity(gravity);
        }
        tracer.Update();
    }
    tracer.UploadSpheres();
}
}

SViewBlock MakeViewBlock(const SCameraKey& key, SVec3 offset)
{
    const float* r[3] = {key.rows[0], key.rows[1], key.rows[2]};
    // Transposing the key makes its columns the camera's axes; the camera looks along -z.
    const SVec3 right = Vec3(r[0][0], r[1][0], r[2][0]);
    const SVec3 up = Vec3(r[0][1], r[1][1], r[2][1]);
    const SVec3 back = Vec3(r[0][2], r[1][2], r[2][2]);
    const SVec3 position = Vec3(r[0][3], r[1][3], r[2][3]) + offset;
    const float tanHalf = std::tan(20.0f * 3.14159265f / 180.0f);
    const float aspect = 1080.0f / 1920.0f;

    SVec3 corners[4];
    for (int corner = 0; corner < 4; ++corner)
    {
        const float u = static_cast<float>(corner & 1), v = static_cast<float>(corner >> 1);
        const SVec3 local = Vec3((2 * u - 1) * tanHalf / aspect, (1 - 2 * v) * tanHalf, -1);
        corners[corner] = quellbeam::Normalise(right * local.x + up * local.y + back * local.z);
    }
    const SVec3 centre = (corners[0] + corners[3]) * 0.5f;
    const float scale = 1.0f / std::sqrt(quellbeam::Dot(centre, centre));
    SViewBlock view = {{position.x, position.y, position.z, 1}, {}};
    for (int corner = 0; corner < 4; ++corner)
    {
        const SVec3 d = corners[corner] * scale;
        view.corners[corner][0] = d.x;
        view.corners[corner][1] = d.y;
        view.corners[corner][2] = d.z;
    }
    return view;
}

void PaintBenchFloor(CMemoryTexture& floor)
{
    uint32_t* texels = floor.Words();
    for (uint32_t y = 0; y < floor.GetHeight(); ++y)
        for (uint32_t x = 0; x < floor.GetWidth(); ++x)
            texels[y * floor.GetWidth() + x] = ((x ^ y) & 8) ? 0xFFB0B0B8u : 0xFF606070u;
}

std::vector<SBenchScene> MakeBenchScenes()
{
    // Camera positions as the scripts move them at these moments.
    return {
        {"start spheres", &StartSpheres, MakeViewBlock(kB0, Vec3(0, 0, 0))},
        {"single juggler", &SingleJuggler, MakeViewBlock(kJ1, Vec3(0, 1.6f * 5.0f, 0))},
        {"juggler field", &JugglerField,
         MakeViewBlock(kJ3, Vec3(-0.1f * 2.533f * 122.3f, 0, -0.1f * 2.533f * 100.3f))},
        {"ball simulation", &BallSimulation, MakeViewBlock(kB4, Vec3(0, 0, 0))},
    };
}
}

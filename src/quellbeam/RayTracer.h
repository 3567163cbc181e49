// The boundary between brovell and libquellbeam.so.
//
// The library hands out one tracer object through GetRayTracer; it is a static object of the
// library, lives until the library is unloaded and is never freed by the caller. The same
// object implements IRayTracer (the renderer's view: textures, camera, one traced frame) and
// ITracer (the scenes' view: which ball scene to show and how to animate it); the program
// reaches ITracer with dynamic_cast, so the interfaces keep default visibility (their type
// information is shared across the boundary).
//
// Threads: every IRayTracer call and UploadSpheres, SetShading, SetTime, SetGravity come from
// the render thread; Update may run on a worker thread while the render thread draws, and the
// caller never overlaps it with UploadSpheres. Textures cross as ITracerTexture, implemented by
// the program over its GL textures; the library links no OpenGL.
#pragma once

#include <cstdint>

#define QUELLBEAM_INTERFACE __attribute__((visibility("default")))

// Camera block of 80 bytes: position, then the ray directions through the viewport corners
// top-left (0,0), top-right (1,0), bottom-left (0,1), bottom-right (1,1).
struct SViewBlock
{
    float position[4];
    float corners[4][4];
};
static_assert(sizeof(SViewBlock) == 80, "the view block is 80 bytes on both sides");

// Texel formats of ITracerTexture::GetFormat (the program's texture format codes).
inline constexpr uint32_t kTracerTextureArgb8 = 1;  // packed 0xAARRGGBB words
inline constexpr uint32_t kTracerTextureFloat4 = 4; // four 32-bit floats per texel

// A texture shared with the tracer. Lock returns a host copy of level 0 (row 0 at the top)
// and its pitch in bytes; Unlock hands the copy back (the program then uploads it to GL).
class QUELLBEAM_INTERFACE ITracerTexture
{
public:
    virtual uint32_t GetWidth() const = 0;
    virtual uint32_t GetHeight() const = 0;
    virtual uint32_t GetFormat() const = 0;
    // The GL texture name, for CUDA-OpenGL interop; 0 when the texture has none.
    virtual uint32_t GetGLName() const = 0;
    // Null when no host copy can be made.
    virtual void* Lock(uint32_t* pitchBytes) = 0;
    virtual void Unlock() = 0;

protected:
    ~ITracerTexture() = default;
};

class QUELLBEAM_INTERFACE IRayTracer
{
public:
    // Builds the frame's acceleration data and traces one frame into the output texture;
    // returns when the picture is complete.
    virtual void Trace() = 0;
    // Copies the 80-byte view block.
    virtual void SetView(const SViewBlock* view) = 0;
    // Fixes the traced image size and the tiling of the work; false on failure.
    virtual bool SetScreenSize(uint32_t width, uint32_t height) = 0;
    // Maps the output texture and uploads the per-frame variables.
    virtual void Prepare() = 0;
    // Unmaps the output texture.
    virtual void Finish() = 0;
    // Mesh uploads of a general tracer; the ball tracer ignores them and nothing calls them.
    virtual void SetUntransformedData(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) = 0;
    virtual void Reserved() = 0;
    virtual void SetTransforms(uint32_t, uint32_t) = 0;
    virtual void SetObjects(uint32_t, uint32_t, uint32_t, uint32_t) = 0;
    // Hands over the output (four floats per texel) and input textures once; the tracer
    // then runs its one-time device set-up.
    virtual void SetGLData(ITracerTexture* output, ITracerTexture* input) = 0;
    // Binds the floor texture (format 1, may be null).
    virtual void SetTexture(ITracerTexture*) {}
    // True when frames are traced on the host's processors, where a frame's time grows with
    // the traced size (SetScreenSize may then shrink it per frame); false on a device.
    virtual bool TracesOnHost() const { return false; }

    float debug_info[32][4] = {}; // debug read-back block; the ball tracer leaves it zero
    int32_t debug_pixel[2] = {};  // debug pixel in 1920x1080 units, written by the program
    uint32_t status = 0;          // shown in the program's statistics line; stays zero

protected:
    ~IRayTracer() = default;
};

class QUELLBEAM_INTERFACE ITracer
{
public:
    // Advances the current ball scene and rebuilds its sphere list (takes the tracer's lock).
    virtual void Update() = 0;
    // Copies the sphere list (and the materials when the count changed) to the device.
    virtual void UploadSpheres() = 0;
    // Floor texture switch, floor colours A and B, light position; null pointers keep values.
    virtual void SetShading(bool floorTextured, const float* colourA, const float* colourB,
                            const float* light) = 0;
    // Scene mode 3: simulated loose balls in the given configuration.
    virtual void StartBallSimulation(int configuration) = 0;
    // Scene mode 2: one juggler at the origin.
    virtual void StartSingleJuggler() = 0;
    // Scene mode 1: a field of jugglers, the same on every run.
    virtual void StartJugglerField() = 0;
    virtual void SetTime(float seconds) = 0;
    // Acceleration vector of the ball simulation (3 floats).
    virtual void SetGravity(const float* acceleration) = 0;

protected:
    ~ITracer() = default;
};

// The library's one export: the address of its single tracer object, the same on every call.
extern "C" QUELLBEAM_INTERFACE IRayTracer* GetRayTracer();

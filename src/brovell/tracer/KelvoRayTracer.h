// The program's side of the ball tracer: creates the picture "soft_raytracer_rt" that the
// tracer writes (1280 x 960, four floats per texel), hands it and the scene's input buffer
// over (the input again whenever the renderer makes a new one), chooses the floor texture by
// name, and traces one frame per call of the
// ray-tracing render phase. With no tracer (library missing) the size stays 0 x 0 and
// nothing is traced. Owns the texture adapters it hands to the tracer; the tracer itself
// belongs to its library. Render thread only.
#pragma once

#include "brovell/tracer/DynamicResolution.h"
#include "kelvo/core/InputQueries.h"
#include "kelvo/core/Ray.h"
#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/render/RayTraceClient.h"
#include "quellbeam/RayTracer.h"

#include <cstdint>
#include <memory>
#include <string>

class CTracerTexture;
class IGPUTexture;

class CKelvoRayTracer final : public IRayTraceClient
{
public:
    static constexpr uint32_t kImageWidth = 1280;
    static constexpr uint32_t kImageHeight = 960;

    // tracer may be null (no library); it is not owned.
    explicit CKelvoRayTracer(IRayTracer* tracer);
    CKelvoRayTracer(const CKelvoRayTracer&) = delete;
    CKelvoRayTracer& operator=(const CKelvoRayTracer&) = delete;
    // Gives back what it still holds while a backend exists (see ReleaseTextures).
    ~CKelvoRayTracer();

    // The traced image is always 1280 x 960 whatever is asked; sets "r_rt_scale_x" and
    // "r_rt_scale_y" to its share of width x height. Needs the GPU backend.
    void CreateRenderTargets(uint32_t width, uint32_t height);
    // A tracer on the host's processors traces only the top-left part of the image when
    // frames run late (see CDynamicResolution) and sets "r_rt_scale_x" and "r_rt_scale_y" to
    // what it traced, in units of 1920 x 1080, so the image pass stretches just that part.
    // Pinning fixes the share of each axis (a quarter..1) on any tracer, for measurements and
    // captures; a device tracer otherwise always traces the whole image.
    void PinScale(float scale) { m_Resolution.Pin(scale); }
    void Unpin() { m_Resolution.Unpin(); }
    // The share of each axis the last frame traced.
    float GetTracedScale() const { return static_cast<float>(m_TracedWidth) / kImageWidth; }
    // Frames traced so far.
    uint64_t GetTracedFrames() const { return m_TracedFrames; }
    // Gives the texture of that name to the tracer as its floor; the same name as last time
    // does nothing.
    void SetTexture(const std::string& name);
    // One traced frame from the camera object's camera, with its debug lines and statistics.
    // While the input buffer is gone and none can be found, nothing is traced.
    void Render(CGameObject* cameraObject) override;
    // Lets go of the input buffer before the renderer releases it.
    void ReleaseInputBuffer() override;
    // Hands a new "kelvo_rtinput_buffer" over with the output picture, once that exists.
    void TakeInputBuffer() override;
    // Gives the shared textures and the floor back to the backend, before the device goes;
    // the tracer is not called again until CreateRenderTargets hands new ones over.
    void ReleaseTextures();

    int32_t GetWidth() const { return m_Width; }
    int32_t GetHeight() const { return m_Height; }
    IRayTracer* GetTracer() const { return m_Tracer; }
    // Where Render reads left Control, which sends the cursor's pixel to the tracer's debug
    // output.
    void SetInputQueries(const SInputQueries& queries) { m_InputQueries = queries; }

private:
    void DrawStatistics(float milliseconds);
    // Feeds the last frame's times to the controller and traces this frame at its share.
    void ChooseTracedSize();
    void SetTracedSize(uint32_t width, uint32_t height);

    int32_t m_Width = 0;
    int32_t m_Height = 0;
    GPUObjectHandle m_OutputHandle;
    IGPUTexture* m_Output = nullptr;
    GPUObjectHandle m_InputHandle;
    IGPUTexture* m_Input = nullptr;
    std::unique_ptr<CTracerTexture> m_OutputAdapter;
    // The adapter the tracer holds stays until it has a new one.
    std::unique_ptr<CTracerTexture> m_InputAdapter;
    bool m_InputReleased = false;
    GPUObjectHandle m_FloorHandle;
    std::unique_ptr<CTracerTexture> m_FloorAdapter;
    std::string m_FloorName;
    IRayTracer* m_Tracer;
    SInputQueries m_InputQueries;
    // The corner rays of the last frame: top-left, top-right, bottom-left, bottom-right.
    SRay m_CornerRays[4];
    // Smoothed statistics; negative until the first frame.
    float m_CyclesPerRay = -1.0f;
    float m_MegapixelsPerSecond = -1.0f;
    CDynamicResolution m_Resolution;
    uint32_t m_TracedWidth = kImageWidth;
    uint32_t m_TracedHeight = kImageHeight;
    // Real time at the start of the last traced frame and its tracing; negative: none yet.
    double m_LastFrameStartMs = -1.0;
    double m_LastTraceMs = 0.0;
    uint64_t m_TracedFrames = 0;
};

// The program's client (null in programs without one); the game sets it up with the renderer.
extern CKelvoRayTracer* g_pKelvoRayTracer;

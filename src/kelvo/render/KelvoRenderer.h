// The one renderer of the program: runs the current render process once per frame between
// begin-scene and end-scene and presents; owns the two full-screen targets the scene pass
// writes ("kelvo_color_buffer", "kelvo_rtinput_buffer") and the bicubic filter's row target
// ("kelvo_bicubic_rows"); sets the camera variables; draws
// named meshes with a named technique; keeps the frame's debug lines and screen texts,
// which the present phase draws last. Constructing it makes it g_pKelvoRenderer and the
// drawer of the meshes' debugging display.
// Main thread only.
#pragma once

#include "kelvo/core/Math.h"
#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/gpu/MeshDebugDraw.h"
#include "kelvo/render/LineQueue.h"
#include "kelvo/render/TextQueue.h"

#include <cstdint>
#include <string>

class C3DObjectLogic;
class C3DSpace;
class CCameraLogic;
class CGameObject;
class CRenderProcess;
class IGPUImplementation;
class IGPUTexture;
struct SRay;

class CKelvoRenderer : public IMeshDebugDraw
{
public:
    // Size of the targets when the back buffer's cannot be read.
    static constexpr uint32_t kDefaultWidth = 1920;
    static constexpr uint32_t kDefaultHeight = 1080;

    // backend is not owned: the application window keeps it until the process ends, so
    // resources still held elsewhere stay valid. space is not owned either.
    CKelvoRenderer(IGPUImplementation* backend, C3DSpace* space);
    CKelvoRenderer(const CKelvoRenderer&) = delete;
    CKelvoRenderer& operator=(const CKelvoRenderer&) = delete;
    ~CKelvoRenderer() override;

    // The process run by each frame; not owned, null for none.
    void SetRenderProcess(CRenderProcess* process) { m_Process = process; }
    CRenderProcess* GetRenderProcess() const { return m_Process; }
    // Back buffer, begin scene, the current process, end scene, present.
    void RenderFrame();
    // Stores the window's client size and hands it to the backend.
    void SetScreenSize(uint32_t width, uint32_t height);
    void CreateRenderTargets();
    void ReleaseRenderTargets();

    // The scene pass's set-up: clears the ray-tracer input buffer, clears the target and
    // depth, binds that buffer as render target 1. True when the binding succeeded.
    bool BeginScenePass();
    // The objects visible from the camera object, each drawn by its renderable logic, then
    // the pressure engine's hook.
    void RenderScene(CGameObject* cameraObject);
    // "r_camera_base", "r_camera", "r_view", "r_view_pos", "r_projection", "r_projection_view".
    void SetCameraVariables(const CCameraLogic& camera, const C3DObjectLogic& cameraObject);
    void DrawMesh(const std::string& mesh, const std::string& effect, const std::string& technique,
                  const std::string& pass);

    // Debug lines (colours packed 0xAARRGGBB), drawn with the present phase's overlays.
    void AddCameraLine(const SVector4& from, const SVector4& to, uint32_t colorFrom, uint32_t colorTo);
    void AddLine(const SVector4& from, const SVector4& to, uint32_t colorFrom, uint32_t colorTo) override;
    void DrawBox(const SBox& box, uint32_t color) override;
    void DrawRay(const SRay& ray, uint32_t colorFrom, uint32_t colorTo);
    // Queues text for the overlays; see CTextQueue::Add for the anchors.
    void DrawText(const SVector4& position, const std::string& text, int anchor) override;
    // Back buffer, then the queued lines (seen from the camera object) and texts.
    void DrawOverlays(CGameObject* cameraObject);
    // Stage 0 (texture, or what is bound when null) times scale plus base, on the rectangle.
    void DrawDebugTexture(float x, float y, float width, float height, const SVector4& scale,
                          const SVector4& base, IGPUTexture* texture);
    // The traced picture "soft_raytracer_rt" over the whole target; false when it does not exist.
    bool DrawRayTracerImage();
    // The top-left extent texels of the texture on stage 0, Catmull-Rom filtered onto the
    // rectangle (x, y, width, height) of the target. Two passes through the row target (4 + 4
    // texel reads per pixel instead of 16) when it holds the picture rows in view; otherwise
    // pass "P0" of onePassTechnique, which filters the same way.
    void DrawBicubic(const SVector4& rectangle, uint32_t extentWidth, uint32_t extentHeight,
                     const std::string& onePassTechnique);

    // The inverse of the camera's world matrix (affine); the matrix itself when singular.
    static SMatrix ViewMatrixOf(const SMatrix& world);

    IGPUTexture* GetColorBuffer() const { return m_ColorBuffer; }
    IGPUTexture* GetRayTracerInputBuffer() const { return m_RtInputBuffer; }
    IGPUTexture* GetBicubicRowTarget() const { return m_BicubicRows; }
    uint32_t GetCellWidth() const { return m_CellWidth; }
    uint32_t GetCellHeight() const { return m_CellHeight; }
    const CLineQueue& GetLines() const { return m_Lines; }
    const CTextQueue& GetTexts() const { return m_Texts; }

private:
    void LoadFont();

    uint32_t m_ScreenWidth = 0;
    uint32_t m_ScreenHeight = 0;
    C3DSpace* m_Space;
    IGPUImplementation* m_Backend;
    CLineQueue m_Lines;
    CRenderProcess* m_Process = nullptr;
    GPUObjectHandle m_ColorBufferHandle;
    IGPUTexture* m_ColorBuffer = nullptr;
    GPUObjectHandle m_RtInputHandle;
    IGPUTexture* m_RtInputBuffer = nullptr;
    GPUObjectHandle m_BicubicRowsHandle;
    IGPUTexture* m_BicubicRows = nullptr;
    CTextQueue m_Texts;
    GPUObjectHandle m_FontHandle;
    IGPUTexture* m_Font = nullptr;
    uint32_t m_CellWidth = 0;
    uint32_t m_CellHeight = 0;
};

// The renderer; null before its construction and after its destruction.
extern CKelvoRenderer* g_pKelvoRenderer;

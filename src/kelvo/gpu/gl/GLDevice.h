// The OpenGL 3.3 core device under the GPU layer: what the layer asks of a Direct3D 9 style
// device, over one GL context. Everything is drawn into framebuffer objects: the back buffer
// is a renderbuffer of the desktop's size that Present scales to the window, and the render
// targets 0..3 share one fixed 1920x1080 depth-stencil surface. Rendering is flipped in GL
// terms (the effect compiler negates clip y), so row 0 is the top row of every target and
// viewports count from the top, as in the layer's conventions.
// Main thread only, with the context current; the device owns its GL objects.
#pragma once

#include "kelvo/gpu/gl/SamplerStages.h"
#include "kelvo/gpu/gl/VertexDeclaration.h"

#include <epoxy/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class CGLBuffer;
class CGLTexture2D;

class CGLDevice
{
public:
    static constexpr uint32_t kDepthSurfaceWidth = 1920;
    static constexpr uint32_t kDepthSurfaceHeight = 1080;
    static constexpr uint32_t kRenderTargetCount = 4;

    enum class EFillMode : uint8_t
    {
        Point,
        Wireframe,
        Solid
    };
    enum class ECullMode : uint8_t
    {
        None,
        Clockwise,
        CounterClockwise
    };
    enum class EFilter : uint8_t
    {
        None,
        Point,
        Linear
    };
    enum class EBlendFactor : uint8_t
    {
        Zero,
        One,
        SrcColor,
        InvSrcColor,
        SrcAlpha,
        InvSrcAlpha,
        DestAlpha,
        InvDestAlpha,
        DestColor,
        InvDestColor,
    };
    enum class EPrimitive : uint8_t
    {
        PointList,
        LineList,
        LineStrip,
        TriangleList,
        TriangleStrip,
        TriangleFan,
    };

    // The states that effect passes set and restore.
    struct SRenderStates
    {
        bool m_BlendEnable = false;
        EBlendFactor m_SourceBlend = EBlendFactor::One;
        EBlendFactor m_DestBlend = EBlendFactor::Zero;
        bool m_DepthEnable = false;
        bool m_DepthWrite = true;
        ECullMode m_CullMode = ECullMode::None;

        bool operator==(const SRenderStates&) const = default;
    };

    CGLDevice() = default;
    CGLDevice(const CGLDevice&) = delete;
    CGLDevice& operator=(const CGLDevice&) = delete;
    ~CGLDevice();

    // Creation, in this order. Each gives false with the GL error (or framebuffer status).
    // The device objects: vertex array, framebuffer, samplers, the unit quad.
    bool Create(GLenum& outError);
    // The back buffer of width x height, made render target 0.
    bool CreateBackBuffer(uint32_t width, uint32_t height, GLenum& outError);
    // The shared 1920x1080 depth-stencil surface, attached.
    bool CreateDepthSurface(GLenum& outError);
    // Frees every GL object and returns to the state before Create.
    void Destroy();
    bool IsCreated() const { return m_VertexArray != 0; }
    // Texture memory the driver reports as free, in bytes; 0 when it does not tell.
    uint64_t GetAvailableTextureMemory() const;

    bool GetBackBufferSize(uint32_t& outWidth, uint32_t& outHeight) const;

    // Clears the whole of every bound target; colour is packed 0xAARRGGBB.
    void Clear(bool color, bool depth, uint32_t argb, float depthValue, uint32_t stencil);
    // Fills colour target index alone with rgba; false when nothing is bound there.
    bool ClearTarget(uint32_t index, const float (&rgba)[4]);
    // Scene brackets; false when they do not pair up.
    bool BeginScene();
    bool EndScene();
    // Scales the top-left areaWidth x areaHeight of the back buffer (the part drawn for the
    // window) onto the window's whole clientWidth x clientHeight framebuffer; the window then
    // swaps.
    void Present(uint32_t areaWidth, uint32_t areaHeight, uint32_t clientWidth, uint32_t clientHeight);
    // The top-left width x height of the back buffer as RGBA bytes, top row first; false when
    // that is larger than the back buffer.
    bool ReadBackBuffer(uint32_t width, uint32_t height, std::vector<uint8_t>& outRgba);

    // Target index 0..3 becomes the texture's level 0 (a render-target texture), or with null
    // the back buffer (index 0) or nothing (1..3). Target 0 also resets the viewport to the
    // whole target. False for a texture that is no render target or a bad index.
    bool SetRenderTarget(uint32_t index, const CGLTexture2D* texture);
    // Attaches or detaches the depth surface.
    void SetDepthSurface(bool attached);
    void GetRenderTargetSize(uint32_t& outWidth, uint32_t& outHeight) const;

    // x, y count from the top-left of target 0. False for an empty rectangle, one outside the
    // target, or depths outside 0..1.
    bool SetViewport(uint32_t x, uint32_t y, uint32_t width, uint32_t height, float minDepth, float maxDepth);

    void SetFillMode(EFillMode mode);
    EFillMode GetFillMode() const { return m_FillMode; }

    const SRenderStates& GetRenderStates() const { return m_States; }
    void SetRenderStates(const SRenderStates& states);

    // Binds level 0.. of texture (null: none) to a stage; false for a number that is no stage.
    bool SetTexture(uint32_t stage, const CGLTexture2D* texture);
    // Magnification and mip filter of a stage (minification stays point); false for a number
    // that is no stage or a magnification filter of None.
    bool SetSamplerFilter(uint32_t stage, EFilter magnification, EFilter mip);

    // Vertex input: streams of buffers with their stride, the declaration, the index buffer.
    bool SetStreamSource(uint32_t stream, const CGLBuffer* buffer, uint32_t offset, uint32_t stride);
    void SetVertexDeclaration(const SVertexDeclaration& declaration);
    void SetIndices(const CGLBuffer* buffer);
    // Draws; false when the input is incomplete (no declaration, a missing stream, no index
    // buffer) or GL refuses.
    bool DrawPrimitive(EPrimitive primitive, uint32_t startVertex, uint32_t primitiveCount);
    bool DrawIndexedPrimitive(EPrimitive primitive, int32_t baseVertex, uint32_t startIndex,
                              uint32_t primitiveCount);
    // The unit quad over (0, 0)..(1, 1): position (x, y, 0, 1) and texture coordinate 0
    // (x, y), as a triangle strip; for full-target passes.
    bool DrawUnitQuad();

private:
    // Buffers are remembered by name and size, so a buffer freed after binding is never
    // touched through a stale pointer.
    struct SStream
    {
        GLuint m_Buffer = 0;
        std::size_t m_Size = 0;
        uint32_t m_Offset = 0;
        uint32_t m_Stride = 0;
    };
    struct SSamplerStage
    {
        GLuint m_Sampler = 0;
        EFilter m_Magnification = EFilter::Linear;
        EFilter m_Mip = EFilter::None;
    };
    struct STarget
    {
        GLuint m_Texture = 0;
        uint32_t m_Width = 0;
        uint32_t m_Height = 0;
    };

    void AttachTargets();
    // Whether colour target index has a texture, or is target 0 on the back buffer.
    bool IsTargetBound(uint32_t index) const;
    void ApplySamplerFilter(const SSamplerStage& stage);
    // Points every declared input at its stream; false when a stream is missing or too short
    // for vertexCount vertices (0: not checked, for indexed draws).
    bool BindVertexInput(uint32_t vertexCount);
    bool Draw(EPrimitive primitive, uint32_t primitiveCount, bool indexed, int32_t baseVertex,
              uint32_t first);

    GLuint m_VertexArray = 0;
    GLuint m_Framebuffer = 0;
    // Reads the back buffer alone for Present.
    GLuint m_PresentFramebuffer = 0;
    GLuint m_BackBuffer = 0;
    GLuint m_DepthSurface = 0;
    uint32_t m_BackBufferWidth = 0;
    uint32_t m_BackBufferHeight = 0;

    // Target 0 with no texture is the back buffer.
    std::array<STarget, kRenderTargetCount> m_Targets{};
    bool m_DepthAttached = false;
    bool m_InScene = false;
    EFillMode m_FillMode = EFillMode::Solid;
    SRenderStates m_States;
    std::array<SSamplerStage, kStageUnitCount> m_Stages{};

    std::array<SStream, kVertexStreamCount> m_Streams{};
    SVertexDeclaration m_Declaration;
    GLuint m_IndexBuffer = 0;
    bool m_Indices32 = false;

    CGLBuffer* m_UnitQuad = nullptr;
    SVertexDeclaration m_UnitQuadDeclaration;
};

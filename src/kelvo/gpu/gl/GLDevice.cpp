#include "kelvo/gpu/gl/GLDevice.h"

#include <algorithm>

#include "kelvo/gpu/gl/GLBuffer.h"
#include "kelvo/gpu/gl/GLError.h"
#include "kelvo/gpu/gl/GLTexture2D.h"

namespace
{
GLenum ToGL(CGLDevice::EBlendFactor factor)
{
    using E = CGLDevice::EBlendFactor;
    switch (factor)
    {
    case E::Zero:
        return GL_ZERO;
    case E::One:
        return GL_ONE;
    case E::SrcColor:
        return GL_SRC_COLOR;
    case E::InvSrcColor:
        return GL_ONE_MINUS_SRC_COLOR;
    case E::SrcAlpha:
        return GL_SRC_ALPHA;
    case E::InvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case E::DestAlpha:
        return GL_DST_ALPHA;
    case E::InvDestAlpha:
        return GL_ONE_MINUS_DST_ALPHA;
    case E::DestColor:
        return GL_DST_COLOR;
    case E::InvDestColor:
        return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

struct SPrimitiveInfo
{
    GLenum m_Mode;
    uint32_t m_VertexCount; // vertices for primitiveCount primitives
};

SPrimitiveInfo PrimitiveInfo(CGLDevice::EPrimitive primitive, uint32_t count)
{
    using E = CGLDevice::EPrimitive;
    switch (primitive)
    {
    case E::PointList:
        return {GL_POINTS, count};
    case E::LineList:
        return {GL_LINES, count * 2};
    case E::LineStrip:
        return {GL_LINE_STRIP, count + 1};
    case E::TriangleList:
        return {GL_TRIANGLES, count * 3};
    case E::TriangleStrip:
        return {GL_TRIANGLE_STRIP, count + 2};
    case E::TriangleFan:
        return {GL_TRIANGLE_FAN, count + 2};
    }
    return {GL_POINTS, 0};
}

struct SElementFormat
{
    GLint m_Size;
    GLenum m_Type;
    GLboolean m_Normalized;
    uint32_t m_Bytes;
};

SElementFormat ElementFormat(EVertexElementType type)
{
    switch (type)
    {
    case EVertexElementType::Float1:
        return {1, GL_FLOAT, GL_FALSE, 4};
    case EVertexElementType::Float2:
        return {2, GL_FLOAT, GL_FALSE, 8};
    case EVertexElementType::Float3:
        return {3, GL_FLOAT, GL_FALSE, 12};
    case EVertexElementType::Float4:
        return {4, GL_FLOAT, GL_FALSE, 16};
    // GL_BGRA as size swizzles the packed B, G, R, A bytes into (r, g, b, a).
    case EVertexElementType::Color:
        return {GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 4};
    case EVertexElementType::UByte4:
        return {4, GL_UNSIGNED_BYTE, GL_FALSE, 4};
    }
    return {4, GL_FLOAT, GL_FALSE, 16};
}

// The unit quad as a strip: position (x, y, 0, 1) then texture coordinate (x, y).
constexpr float kUnitQuad[] = {
    0, 0, 0, 1, 0, 0, //
    1, 0, 0, 1, 1, 0, //
    0, 1, 0, 1, 0, 1, //
    1, 1, 0, 1, 1, 1, //
};
constexpr uint32_t kUnitQuadStride = 6 * sizeof(float);
}

CGLDevice::~CGLDevice()
{
    Destroy();
}

void CGLDevice::Destroy()
{
    delete m_UnitQuad;
    m_UnitQuad = nullptr;
    for (SSamplerStage& stage : m_Stages)
        if (stage.m_Sampler != 0)
            glDeleteSamplers(1, &stage.m_Sampler);
    if (m_DepthSurface != 0)
        glDeleteRenderbuffers(1, &m_DepthSurface);
    if (m_BackBuffer != 0)
        glDeleteRenderbuffers(1, &m_BackBuffer);
    if (m_PresentFramebuffer != 0)
        glDeleteFramebuffers(1, &m_PresentFramebuffer);
    if (m_Framebuffer != 0)
        glDeleteFramebuffers(1, &m_Framebuffer);
    if (m_VertexArray != 0)
        glDeleteVertexArrays(1, &m_VertexArray);
    m_VertexArray = m_Framebuffer = m_PresentFramebuffer = m_BackBuffer = m_DepthSurface = 0;
    m_BackBufferWidth = m_BackBufferHeight = 0;
    m_Targets = {};
    m_DepthAttached = false;
    m_InScene = false;
    m_FillMode = EFillMode::Solid;
    m_States = {};
    m_Stages = {};
    m_Streams = {};
    m_Declaration.clear();
    m_IndexBuffer = 0;
    m_Indices32 = false;
}

uint64_t CGLDevice::GetAvailableTextureMemory() const
{
    // Vendor extensions report kilobytes; Mesa's software renderers report nothing.
    GLint kilobytes[4] = {0, 0, 0, 0};
    if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info"))
        glGetIntegerv(GL_GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX, kilobytes);
    else if (epoxy_has_gl_extension("GL_ATI_meminfo"))
        glGetIntegerv(GL_TEXTURE_FREE_MEMORY_ATI, kilobytes);
    return static_cast<uint64_t>(kilobytes[0] > 0 ? kilobytes[0] : 0) * 1024;
}

bool CGLDevice::Create(GLenum& outError)
{
    Destroy();
    ClearGLErrors();
    glGenVertexArrays(1, &m_VertexArray);
    glBindVertexArray(m_VertexArray);
    glGenFramebuffers(1, &m_Framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_Framebuffer);
    for (uint32_t unit = 0; unit < kStageUnitCount; ++unit)
    {
        glGenSamplers(1, &m_Stages[unit].m_Sampler);
        glBindSampler(unit, m_Stages[unit].m_Sampler);
        glSamplerParameteri(m_Stages[unit].m_Sampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glSamplerParameteri(m_Stages[unit].m_Sampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
        ApplySamplerFilter(m_Stages[unit]);
    }
    SetRenderStates(SRenderStates{});
    glDisable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    outError = TakeGLError();
    if (outError != GL_NO_ERROR)
        return false;
    m_UnitQuad = new CGLBuffer;
    if (!m_UnitQuad->Create(CGLBuffer::EKind::Vertex, sizeof(kUnitQuad), kUnitQuad, outError))
        return false;
    m_UnitQuadDeclaration = {
        {0, 0, EVertexElementType::Float4, EVertexSemantic::Position, 0},
        {0, 16, EVertexElementType::Float2, EVertexSemantic::TexCoord, 0},
    };
    return true;
}

bool CGLDevice::CreateBackBuffer(uint32_t width, uint32_t height, GLenum& outError)
{
    if (m_Framebuffer == 0 || width == 0 || height == 0)
    {
        outError = GL_INVALID_OPERATION;
        return false;
    }
    ClearGLErrors();
    glGenRenderbuffers(1, &m_BackBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, m_BackBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, static_cast<GLsizei>(width),
                          static_cast<GLsizei>(height));
    outError = TakeGLError();
    if (outError != GL_NO_ERROR)
        return false;
    glGenFramebuffers(1, &m_PresentFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_PresentFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_BackBuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    m_BackBufferWidth = width;
    m_BackBufferHeight = height;
    SetRenderTarget(0, nullptr);
    outError = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (outError != GL_FRAMEBUFFER_COMPLETE)
        return false;
    outError = GL_NO_ERROR;
    return true;
}

bool CGLDevice::CreateDepthSurface(GLenum& outError)
{
    ClearGLErrors();
    glGenRenderbuffers(1, &m_DepthSurface);
    glBindRenderbuffer(GL_RENDERBUFFER, m_DepthSurface);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kDepthSurfaceWidth, kDepthSurfaceHeight);
    outError = TakeGLError();
    if (outError != GL_NO_ERROR)
        return false;
    SetDepthSurface(true);
    outError = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (outError != GL_FRAMEBUFFER_COMPLETE)
        return false;
    outError = GL_NO_ERROR;
    return true;
}

bool CGLDevice::GetBackBufferSize(uint32_t& outWidth, uint32_t& outHeight) const
{
    if (m_BackBuffer == 0)
        return false;
    outWidth = m_BackBufferWidth;
    outHeight = m_BackBufferHeight;
    return true;
}

void CGLDevice::Clear(bool color, bool depth, uint32_t argb, float depthValue, uint32_t stencil)
{
    GLbitfield mask = 0;
    if (color)
    {
        glClearColor(static_cast<float>((argb >> 16) & 0xff) / 255.0f,
                     static_cast<float>((argb >> 8) & 0xff) / 255.0f,
                     static_cast<float>(argb & 0xff) / 255.0f, static_cast<float>(argb >> 24) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (depth)
    {
        glClearDepth(depthValue);
        glClearStencil(static_cast<GLint>(stencil));
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    // GL honours the depth write mask when clearing; a clear always clears.
    glDepthMask(GL_TRUE);
    glClear(mask);
    glDepthMask(m_States.m_DepthWrite ? GL_TRUE : GL_FALSE);
}

bool CGLDevice::ClearTarget(uint32_t index, const float (&rgba)[4])
{
    if (index >= kRenderTargetCount || !IsTargetBound(index))
        return false;
    glClearBufferfv(GL_COLOR, static_cast<GLint>(index), rgba);
    return true;
}

bool CGLDevice::BeginScene()
{
    if (m_InScene)
        return false;
    m_InScene = true;
    return true;
}

bool CGLDevice::EndScene()
{
    if (!m_InScene)
        return false;
    m_InScene = false;
    return true;
}

void CGLDevice::Present(uint32_t areaWidth, uint32_t areaHeight, uint32_t clientWidth, uint32_t clientHeight)
{
    const GLint width = static_cast<GLint>(std::min(areaWidth, m_BackBufferWidth));
    const GLint height = static_cast<GLint>(std::min(areaHeight, m_BackBufferHeight));
    const GLint toWidth = static_cast<GLint>(clientWidth);
    const GLint toHeight = static_cast<GLint>(clientHeight);
    // Read from the back buffer alone, whatever targets are bound for drawing.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_PresentFramebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // The back buffer keeps row 0 on top; the window's rows run bottom up. A copy of the same
    // size stays exact; a scaled one is filtered.
    const GLenum filter = width == toWidth && height == toHeight ? GL_NEAREST : GL_LINEAR;
    glBlitFramebuffer(0, 0, width, height, 0, toHeight, toWidth, 0, GL_COLOR_BUFFER_BIT, filter);
    glBindFramebuffer(GL_FRAMEBUFFER, m_Framebuffer);
}

bool CGLDevice::ReadBackBuffer(uint32_t width, uint32_t height, std::vector<uint8_t>& outRgba)
{
    if (m_BackBuffer == 0 || width > m_BackBufferWidth || height > m_BackBufferHeight)
        return false;
    outRgba.resize(std::size_t{width} * height * 4);
    // The back buffer's row 0 is the picture's top row, so GL's bottom-up read gives top first.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_PresentFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_RGBA, GL_UNSIGNED_BYTE,
                 outRgba.data());
    glBindFramebuffer(GL_FRAMEBUFFER, m_Framebuffer);
    return true;
}

bool CGLDevice::SetRenderTarget(uint32_t index, const CGLTexture2D* texture)
{
    if (index >= kRenderTargetCount)
        return false;
    if (texture != nullptr && (!texture->IsRenderTarget() || texture->GetName() == 0))
        return false;
    STarget& target = m_Targets[index];
    if (texture != nullptr)
        target = {texture->GetName(), texture->GetWidth(), texture->GetHeight()};
    else if (index == 0)
        target = {0, m_BackBufferWidth, m_BackBufferHeight};
    else
        target = {};
    AttachTargets();
    if (index == 0)
        SetViewport(0, 0, target.m_Width, target.m_Height, 0.0f, 1.0f);
    return true;
}

void CGLDevice::SetDepthSurface(bool attached)
{
    m_DepthAttached = attached && m_DepthSurface != 0;
    AttachTargets();
}

void CGLDevice::AttachTargets()
{
    glBindFramebuffer(GL_FRAMEBUFFER, m_Framebuffer);
    GLenum drawBuffers[kRenderTargetCount];
    for (uint32_t index = 0; index < kRenderTargetCount; ++index)
    {
        const STarget& target = m_Targets[index];
        const GLenum attachment = GL_COLOR_ATTACHMENT0 + index;
        if (target.m_Texture != 0)
            glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, GL_TEXTURE_2D, target.m_Texture, 0);
        else if (index == 0 && m_BackBuffer != 0)
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, m_BackBuffer);
        else
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, 0);
        drawBuffers[index] = IsTargetBound(index) ? attachment : GL_NONE;
    }
    glDrawBuffers(kRenderTargetCount, drawBuffers);
    glReadBuffer(drawBuffers[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              m_DepthAttached ? m_DepthSurface : 0);
}

bool CGLDevice::IsTargetBound(uint32_t index) const
{
    return m_Targets[index].m_Texture != 0 || (index == 0 && m_BackBuffer != 0);
}

void CGLDevice::GetRenderTargetSize(uint32_t& outWidth, uint32_t& outHeight) const
{
    outWidth = m_Targets[0].m_Width;
    outHeight = m_Targets[0].m_Height;
}

bool CGLDevice::SetViewport(uint32_t x, uint32_t y, uint32_t width, uint32_t height, float minDepth,
                            float maxDepth)
{
    const STarget& target = m_Targets[0];
    if (uint64_t{width} * height == 0 || uint64_t{x} + width > target.m_Width ||
        uint64_t{y} + height > target.m_Height)
        return false;
    if (!(minDepth >= 0.0f && minDepth <= 1.0f && maxDepth >= 0.0f && maxDepth <= 1.0f))
        return false;
    glViewport(static_cast<GLint>(x), static_cast<GLint>(y), static_cast<GLsizei>(width),
               static_cast<GLsizei>(height));
    glDepthRange(minDepth, maxDepth);
    return true;
}

void CGLDevice::SetFillMode(EFillMode mode)
{
    static constexpr GLenum kModes[] = {GL_POINT, GL_LINE, GL_FILL};
    glPolygonMode(GL_FRONT_AND_BACK, kModes[static_cast<int>(mode)]);
    m_FillMode = mode;
}

void CGLDevice::SetRenderStates(const SRenderStates& states)
{
    if (states.m_BlendEnable)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glBlendFunc(ToGL(states.m_SourceBlend), ToGL(states.m_DestBlend));
    if (states.m_DepthEnable)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(states.m_DepthWrite ? GL_TRUE : GL_FALSE);
    if (states.m_CullMode == ECullMode::None)
        glDisable(GL_CULL_FACE);
    else
    {
        // Targets are drawn flipped, so a triangle seen clockwise on the target winds
        // counter-clockwise in GL's window coordinates.
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(states.m_CullMode == ECullMode::Clockwise ? GL_CW : GL_CCW);
    }
    m_States = states;
}

bool CGLDevice::SetTexture(uint32_t stage, const CGLTexture2D* texture)
{
    const std::optional<uint32_t> unit = TextureUnitOfStage(stage);
    if (!unit)
        return false;
    glActiveTexture(GL_TEXTURE0 + *unit);
    glBindTexture(GL_TEXTURE_2D, texture != nullptr ? texture->GetName() : 0);
    glActiveTexture(GL_TEXTURE0);
    return true;
}

bool CGLDevice::SetSamplerFilter(uint32_t stage, EFilter magnification, EFilter mip)
{
    const std::optional<uint32_t> unit = TextureUnitOfStage(stage);
    if (!unit || magnification == EFilter::None)
        return false;
    m_Stages[*unit].m_Magnification = magnification;
    m_Stages[*unit].m_Mip = mip;
    ApplySamplerFilter(m_Stages[*unit]);
    return true;
}

void CGLDevice::ApplySamplerFilter(const SSamplerStage& stage)
{
    // Minification stays point; the mip filter picks between and within levels.
    GLint minification = GL_NEAREST;
    if (stage.m_Mip == EFilter::Point)
        minification = GL_NEAREST_MIPMAP_NEAREST;
    else if (stage.m_Mip == EFilter::Linear)
        minification = GL_NEAREST_MIPMAP_LINEAR;
    glSamplerParameteri(stage.m_Sampler, GL_TEXTURE_MIN_FILTER, minification);
    glSamplerParameteri(stage.m_Sampler, GL_TEXTURE_MAG_FILTER,
                        stage.m_Magnification == EFilter::Point ? GL_NEAREST : GL_LINEAR);
}

bool CGLDevice::SetStreamSource(uint32_t stream, const CGLBuffer* buffer, uint32_t offset, uint32_t stride)
{
    if (stream >= kVertexStreamCount)
        return false;
    if (buffer == nullptr)
        m_Streams[stream] = {};
    else
        m_Streams[stream] = {buffer->GetName(), buffer->GetSize(), offset, stride};
    return true;
}

void CGLDevice::SetVertexDeclaration(const SVertexDeclaration& declaration)
{
    m_Declaration = declaration;
}

void CGLDevice::SetIndices(const CGLBuffer* buffer)
{
    m_IndexBuffer = buffer != nullptr ? buffer->GetName() : 0;
    m_Indices32 = buffer != nullptr && buffer->GetKind() == CGLBuffer::EKind::Index32;
}

bool CGLDevice::BindVertexInput(uint32_t vertexCount)
{
    if (m_Declaration.empty())
        return false;
    for (uint32_t location = 0; location < kVertexAttributeCount; ++location)
        glDisableVertexAttribArray(location);
    for (const SVertexElement& element : m_Declaration)
    {
        uint32_t location = 0;
        if (element.m_Stream >= kVertexStreamCount ||
            !VertexAttributeLocation(element.m_Semantic, element.m_SemanticIndex, location))
            return false;
        const SStream& stream = m_Streams[element.m_Stream];
        const SElementFormat format = ElementFormat(element.m_Type);
        if (stream.m_Buffer == 0)
            return false;
        // The last vertex's element must lie inside the buffer.
        if (vertexCount > 0 && uint64_t{stream.m_Offset} + uint64_t{stream.m_Stride} * (vertexCount - 1) +
                                       element.m_Offset + format.m_Bytes >
                                   stream.m_Size)
            return false;
        glBindBuffer(GL_ARRAY_BUFFER, stream.m_Buffer);
        const auto offset = static_cast<std::size_t>(stream.m_Offset) + element.m_Offset;
        glVertexAttribPointer(location, format.m_Size, format.m_Type, format.m_Normalized,
                              static_cast<GLsizei>(stream.m_Stride), reinterpret_cast<const void*>(offset));
        glEnableVertexAttribArray(location);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

bool CGLDevice::Draw(EPrimitive primitive, uint32_t primitiveCount, bool indexed, int32_t baseVertex,
                     uint32_t first)
{
    const SPrimitiveInfo info = PrimitiveInfo(primitive, primitiveCount);
    if (primitiveCount == 0)
        return true;
    if (!BindVertexInput(indexed ? 0 : first + info.m_VertexCount))
        return false;
    ClearGLErrors();
    if (indexed)
    {
        if (m_IndexBuffer == 0)
            return false;
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m_IndexBuffer);
        const std::size_t indexBytes = m_Indices32 ? 4 : 2;
        glDrawElementsBaseVertex(info.m_Mode, static_cast<GLsizei>(info.m_VertexCount),
                                 m_Indices32 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                                 reinterpret_cast<const void*>(first * indexBytes), baseVertex);
    }
    else
        glDrawArrays(info.m_Mode, static_cast<GLint>(first), static_cast<GLsizei>(info.m_VertexCount));
    return TakeGLError() == GL_NO_ERROR;
}

bool CGLDevice::DrawPrimitive(EPrimitive primitive, uint32_t startVertex, uint32_t primitiveCount)
{
    return Draw(primitive, primitiveCount, false, 0, startVertex);
}

bool CGLDevice::DrawIndexedPrimitive(EPrimitive primitive, int32_t baseVertex, uint32_t startIndex,
                                     uint32_t primitiveCount)
{
    return Draw(primitive, primitiveCount, true, baseVertex, startIndex);
}

bool CGLDevice::DrawUnitQuad()
{
    if (m_UnitQuad == nullptr)
        return false;
    // The caller's vertex input is kept: the quad borrows stream 0 and the declaration.
    const SStream savedStream = m_Streams[0];
    SVertexDeclaration savedDeclaration = std::move(m_Declaration);
    SetStreamSource(0, m_UnitQuad, 0, kUnitQuadStride);
    m_Declaration = m_UnitQuadDeclaration;
    const bool drawn = DrawPrimitive(EPrimitive::TriangleStrip, 0, 2);
    m_Streams[0] = savedStream;
    m_Declaration = std::move(savedDeclaration);
    return drawn;
}

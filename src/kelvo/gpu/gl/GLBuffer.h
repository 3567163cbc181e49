// A vertex or index buffer on the device, filled from system memory as a whole or in part.
// Needs the GL context current; owned by the mesh (or device helper) that created it.
#pragma once

#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>

class CGLBuffer
{
public:
    enum class EKind
    {
        Vertex,
        Index16,
        Index32,
    };

    CGLBuffer() = default;
    CGLBuffer(const CGLBuffer&) = delete;
    CGLBuffer& operator=(const CGLBuffer&) = delete;
    ~CGLBuffer();

    // A buffer of size bytes, filled from data when it is not null. False with the GL error.
    bool Create(EKind kind, std::size_t size, const void* data, GLenum& outError);
    // Replaces size bytes from offset; false when the range is outside the buffer.
    bool Write(std::size_t offset, std::size_t size, const void* data);

    GLuint GetName() const { return m_Name; }
    EKind GetKind() const { return m_Kind; }
    std::size_t GetSize() const { return m_Size; }

private:
    GLuint m_Name = 0;
    EKind m_Kind = EKind::Vertex;
    std::size_t m_Size = 0;
};

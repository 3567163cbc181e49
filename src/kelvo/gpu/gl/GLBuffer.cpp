#include "kelvo/gpu/gl/GLBuffer.h"

#include "kelvo/gpu/gl/GLError.h"

CGLBuffer::~CGLBuffer()
{
    if (m_Name != 0)
        glDeleteBuffers(1, &m_Name);
}

namespace
{
// Index buffers are filled through the array target too: the element binding belongs to the
// vertex array object and must not change behind the device's back.
constexpr GLenum kUploadTarget = GL_ARRAY_BUFFER;
}

bool CGLBuffer::Create(EKind kind, std::size_t size, const void* data, GLenum& outError)
{
    if (m_Name != 0)
        glDeleteBuffers(1, &m_Name);
    m_Name = 0;
    m_Size = 0;
    ClearGLErrors();
    glGenBuffers(1, &m_Name);
    glBindBuffer(kUploadTarget, m_Name);
    glBufferData(kUploadTarget, static_cast<GLsizeiptr>(size), data, GL_DYNAMIC_DRAW);
    glBindBuffer(kUploadTarget, 0);
    outError = TakeGLError();
    if (outError != GL_NO_ERROR)
    {
        glDeleteBuffers(1, &m_Name);
        m_Name = 0;
        return false;
    }
    m_Kind = kind;
    m_Size = size;
    return true;
}

bool CGLBuffer::Write(std::size_t offset, std::size_t size, const void* data)
{
    if (m_Name == 0 || offset > m_Size || size > m_Size - offset || data == nullptr)
        return false;
    glBindBuffer(kUploadTarget, m_Name);
    glBufferSubData(kUploadTarget, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(size), data);
    glBindBuffer(kUploadTarget, 0);
    return true;
}

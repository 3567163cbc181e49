// The device copy of a mesh stream: a GL vertex or index buffer owned by the stream.
#pragma once

#include "kelvo/gpu/MeshDeviceBuffer.h"
#include "kelvo/gpu/gl/GLBuffer.h"

class CMeshBufferGL : public IMeshDeviceBuffer
{
public:
    EKind GetKind() const override
    {
        return m_Buffer.GetKind() == CGLBuffer::EKind::Vertex ? EKind::Vertex : EKind::Index;
    }
    CGLBuffer& GetBuffer() { return m_Buffer; }

private:
    CGLBuffer m_Buffer;
};

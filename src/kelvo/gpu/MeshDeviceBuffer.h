// The device copy of one mesh stream: a vertex buffer, or the index buffer made from the
// "indices" stream. The backend derives its buffer class from it; the stream owns it.
#pragma once

class IMeshDeviceBuffer
{
public:
    enum class EKind
    {
        Vertex,
        Index,
    };

    virtual ~IMeshDeviceBuffer() = default;
    virtual EKind GetKind() const = 0;
};

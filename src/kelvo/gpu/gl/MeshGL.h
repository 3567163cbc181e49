// The mesh on the OpenGL device: one vertex buffer per declared stream plus the index buffer
// from "indices", and the vertex declaration derived from the stream names. Update makes the
// device copy match the streams; Render and RenderSurface draw it with whatever effect pass
// is current. Main thread only, with the device's context current.
#pragma once

#include "kelvo/gpu/Mesh.h"
#include "kelvo/gpu/gl/VertexDeclaration.h"

#include <cstdint>
#include <string>

class CGLDevice;

class CMeshGL : public CMesh
{
    KELVO_RTTI(CMeshGL, CMesh)

public:
    // device is not owned; resources takes back material references (both may outlive it).
    CMeshGL(CGLDevice* device, CGPUResourceManager* resources);

    // Bounding box, declaration and upload must all succeed; false leaves the rest undone.
    bool Update() override;
    // A new mesh on the same device with copies of the streams, the primitive type and the
    // declared names, updated; no surfaces, no materials.
    IGPUResource* Clone() const override;
    uint32_t CreateVertexDeclaration() override;
    // Each declared stream, then "indices" (32-bit indices for a stride of 4, else 16-bit).
    uint32_t UploadBuffers() override;

    using CMesh::Render;
    // Binds the declared streams (30 when one has no buffer, 31 when binding is refused) and
    // draws; a missing index buffer is logged and draws nothing but points.
    uint32_t Render(uint32_t firstVertex, uint32_t vertexCount, uint32_t firstPrimitive,
                    uint32_t primitiveCount) override;

    const SVertexDeclaration& GetDeclaration() const { return m_Declaration; }

protected:
    uint32_t LoadXFile(const std::string& fileName) override;

private:
    uint32_t UploadVertexStream(const std::string& name);
    uint32_t UploadIndexStream();
    // Unbinds streams 0 to count - 1.
    void UnbindStreams(uint32_t count);
    uint32_t DrawBound(uint32_t firstVertex, uint32_t vertexCount, uint32_t firstPrimitive,
                       uint32_t primitiveCount, uint32_t boundVertexCount);

    CGLDevice* m_Device;
    SVertexDeclaration m_Declaration;
};

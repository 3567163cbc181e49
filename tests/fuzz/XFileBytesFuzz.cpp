// The mesh bytes the ".x" reader process hands back, decoded and made into mesh streams as
// the program does with them.
#include "kelvo/gpu/Mesh.h"
#include "kelvo/gpu/xfile/ImportedMeshBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SImportedMesh imported;
    std::string error;
    if (!DecodeImportedMesh(data, size, imported, error))
        return 0;
    CMesh mesh(nullptr);
    if (ConvertImportedGeometry(imported, mesh))
        mesh.UpdateBoundingBox();
    return 0;
}

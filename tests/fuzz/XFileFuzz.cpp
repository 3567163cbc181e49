// ".x" files through Assimp and the conversion the reader process runs, in this process so
// that the conversion's coverage guides the fuzzer. A crash inside Assimp itself is what the
// reader process contains (XFileImporter.h); those inputs are kept as regression files for
// ImportXFile instead. Whatever converts must survive the trip through the mesh bytes.
#include "FuzzFolder.h"
#include "kelvo/gpu/xfile/AssimpXFileReader.h"
#include "kelvo/gpu/xfile/ImportedMeshBytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SImportedMesh mesh;
    std::string error;
    if (!ReadXFileWithAssimp(WriteFuzzInput("mesh.x", data, size), mesh, error))
        return 0;
    const std::vector<uint8_t> bytes = EncodeImportedMesh(mesh);
    SImportedMesh decoded;
    if (!DecodeImportedMesh(bytes.data(), bytes.size(), decoded, error) ||
        EncodeImportedMesh(decoded) != bytes)
        __builtin_trap();
    return 0;
}

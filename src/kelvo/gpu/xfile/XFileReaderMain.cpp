// The ".x" reader process (see XFileImporter.h): reads the file named by its argument with
// Assimp and writes the mesh bytes to its standard output with exit code 0, or the problem
// as one line with exit code 1.
#include "kelvo/gpu/xfile/AssimpXFileReader.h"
#include "kelvo/gpu/xfile/ImportedMeshBytes.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s file.x\n", argv[0]);
        return 2;
    }
    SImportedMesh mesh;
    std::string error;
    if (!ReadXFileWithAssimp(argv[1], mesh, error))
    {
        std::fwrite(error.data(), 1, error.size(), stdout);
        return 1;
    }
    const std::vector<uint8_t> bytes = EncodeImportedMesh(mesh);
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0 ? 0
                                                                                                          : 1;
}

#include "XFileExport.h"

#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <assimp/scene.h>

bool ExportThroughAssimp(const std::string& sourcePath, const std::string& targetPath)
{
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(sourcePath, 0);
    if (scene == nullptr)
        return false;
    Assimp::Exporter exporter;
    return exporter.Export(scene, "x", targetPath) == AI_SUCCESS;
}

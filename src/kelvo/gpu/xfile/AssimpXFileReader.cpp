#include "kelvo/gpu/xfile/AssimpXFileReader.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cstring>
#include <vector>

namespace
{
// Assimp's ".x" reader turns the file into a right-handed system (z mirrored, winding and
// texture v flipped); converting back to left-handed undoes exactly that. Triangulation is
// the only other change: nothing is welded, reordered or dropped.
constexpr unsigned kPostProcess = aiProcess_Triangulate | aiProcess_ConvertToLeftHanded;

// The texture types Assimp may file a ".x" texture under, by its name.
constexpr aiTextureType kTextureTypes[] = {
    aiTextureType_DIFFUSE,  aiTextureType_HEIGHT,    aiTextureType_NORMALS,
    aiTextureType_SPECULAR, aiTextureType_AMBIENT,   aiTextureType_EMISSIVE,
    aiTextureType_LIGHTMAP, aiTextureType_SHININESS, aiTextureType_OPACITY,
};

// What follows the last slash or backslash.
std::string BareFileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ReadColour(const aiMaterial& material, const char* key, unsigned type, unsigned index,
                float outColour[4], float alpha)
{
    aiColor4D colour(0, 0, 0, alpha);
    if (material.Get(key, type, index, colour) == AI_SUCCESS)
    {
        outColour[0] = colour.r;
        outColour[1] = colour.g;
        outColour[2] = colour.b;
        outColour[3] = colour.a;
    }
}

SMaterialDescription Describe(const aiMaterial& material)
{
    SMaterialDescription description;
    ReadColour(material, AI_MATKEY_COLOR_DIFFUSE, description.m_Diffuse, 1.0f);
    ReadColour(material, AI_MATKEY_COLOR_SPECULAR, description.m_Specular, 1.0f);
    ReadColour(material, AI_MATKEY_COLOR_EMISSIVE, description.m_Emissive, 1.0f);
    material.Get(AI_MATKEY_SHININESS, description.m_Power);
    for (aiTextureType type : kTextureTypes)
    {
        aiString path;
        if (material.GetTexture(type, 0, &path) == AI_SUCCESS && path.length != 0)
        {
            description.m_TextureFile = BareFileName(path.C_Str());
            break;
        }
    }
    return description;
}

// Assimp adds an unnamed default material when the file has none.
bool FileHasMaterials(const aiScene& scene)
{
    for (unsigned i = 0; i < scene.mNumMaterials; ++i)
    {
        aiString name;
        if (scene.mMaterials[i]->Get(AI_MATKEY_NAME, name) == AI_SUCCESS)
            return true;
    }
    return false;
}

// The mesh parts in node order, each with its node's transform.
struct SPlacedMesh
{
    const aiMesh* m_Mesh;
    aiMatrix4x4 m_Transform;
};

void CollectMeshes(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent,
                   std::vector<SPlacedMesh>& outMeshes)
{
    const aiMatrix4x4 transform = parent * node.mTransformation;
    for (unsigned i = 0; i < node.mNumMeshes; ++i)
        if (node.mMeshes[i] < scene.mNumMeshes)
            outMeshes.push_back({scene.mMeshes[node.mMeshes[i]], transform});
    for (unsigned i = 0; i < node.mNumChildren; ++i)
        CollectMeshes(scene, *node.mChildren[i], transform, outMeshes);
}

// Packed 0xAARRGGBB from a colour in [0, 1].
uint32_t PackColour(const aiColor4D& colour)
{
    auto channel = [](float value) {
        const float clamped = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
        return static_cast<uint32_t>(clamped * 255.0f + 0.5f);
    };
    return channel(colour.a) << 24 | channel(colour.r) << 16 | channel(colour.g) << 8 | channel(colour.b);
}

// Which arrays the merged vertices carry: the union of what the parts have.
struct SVertexLayout
{
    bool m_Normals = false;
    bool m_Colours = false;
    unsigned m_TexCoordSize[AI_MAX_NUMBER_OF_TEXTURECOORDS] = {};
};

SVertexLayout LayoutOf(const std::vector<SPlacedMesh>& parts)
{
    SVertexLayout layout;
    for (const SPlacedMesh& part : parts)
    {
        layout.m_Normals = layout.m_Normals || part.m_Mesh->HasNormals();
        layout.m_Colours = layout.m_Colours || part.m_Mesh->HasVertexColors(0);
        for (unsigned set = 0; set < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++set)
            if (part.m_Mesh->HasTextureCoords(set) &&
                part.m_Mesh->mNumUVComponents[set] > layout.m_TexCoordSize[set])
                layout.m_TexCoordSize[set] = part.m_Mesh->mNumUVComponents[set];
    }
    return layout;
}

// The attribute arrays of the merged vertices, grown part by part.
struct SVertexArrays
{
    std::vector<float> m_Positions;
    std::vector<float> m_Normals;
    std::vector<uint32_t> m_Colours;
    std::vector<float> m_TexCoords[AI_MAX_NUMBER_OF_TEXTURECOORDS];
};

// Appends the part's vertices, placed by its transform; arrays a part lacks get zeros (white
// for colours).
void AppendVertices(const SPlacedMesh& placed, const SVertexLayout& layout, SVertexArrays& arrays)
{
    const aiMesh& mesh = *placed.m_Mesh;
    aiMatrix3x3 normalTransform(placed.m_Transform);
    normalTransform.Inverse().Transpose();
    for (unsigned v = 0; v < mesh.mNumVertices; ++v)
    {
        const aiVector3D position = placed.m_Transform * mesh.mVertices[v];
        arrays.m_Positions.insert(arrays.m_Positions.end(), {position.x, position.y, position.z});
        if (layout.m_Normals)
        {
            aiVector3D normal = mesh.HasNormals() ? normalTransform * mesh.mNormals[v] : aiVector3D(0, 0, 0);
            if (normal.SquareLength() > 0.0f)
                normal.Normalize();
            arrays.m_Normals.insert(arrays.m_Normals.end(), {normal.x, normal.y, normal.z});
        }
        if (layout.m_Colours)
            arrays.m_Colours.push_back(mesh.HasVertexColors(0) ? PackColour(mesh.mColors[0][v])
                                                               : 0xffffffffu);
        for (unsigned set = 0; set < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++set)
            for (unsigned c = 0; c < layout.m_TexCoordSize[set]; ++c)
                arrays.m_TexCoords[set].push_back(mesh.HasTextureCoords(set) ? mesh.mTextureCoords[set][v][c]
                                                                             : 0.0f);
    }
}
}

bool ReadXFileWithAssimp(const std::string& path, SImportedMesh& outMesh, std::string& outError)
{
    Assimp::Importer importer;
    importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
    const aiScene* scene = importer.ReadFile(path, kPostProcess);
    if (scene == nullptr || scene->mRootNode == nullptr)
    {
        outError = importer.GetErrorString();
        return false;
    }
    std::vector<SPlacedMesh> parts;
    CollectMeshes(*scene, *scene->mRootNode, aiMatrix4x4(), parts);

    const SVertexLayout layout = LayoutOf(parts);
    SImportedMesh imported;
    SVertexArrays arrays;
    const bool withMaterials = FileHasMaterials(*scene);
    for (const SPlacedMesh& part : parts)
    {
        const aiMesh& mesh = *part.m_Mesh;
        SImportedSubset subset;
        subset.m_Surface.m_FirstPrimitive = static_cast<uint32_t>(imported.m_Indices.size() / 3);
        subset.m_Surface.m_FirstVertex = imported.m_VertexCount;
        subset.m_Surface.m_VertexCount = mesh.mNumVertices;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f)
        {
            const aiFace& face = mesh.mFaces[f];
            // Points and lines of a ".x" mesh are not drawn, nor is a face naming a vertex the
            // part does not have.
            if (face.mNumIndices != 3 || face.mIndices[0] >= mesh.mNumVertices ||
                face.mIndices[1] >= mesh.mNumVertices || face.mIndices[2] >= mesh.mNumVertices)
                continue;
            for (unsigned corner = 0; corner < 3; ++corner)
                imported.m_Indices.push_back(imported.m_VertexCount + face.mIndices[corner]);
            ++subset.m_Surface.m_PrimitiveCount;
        }
        AppendVertices(part, layout, arrays);
        imported.m_VertexCount += mesh.mNumVertices;
        if (withMaterials)
        {
            if (mesh.mMaterialIndex < scene->mNumMaterials)
                subset.m_Material = Describe(*scene->mMaterials[mesh.mMaterialIndex]);
            imported.m_Subsets.push_back(subset);
        }
    }
    if (imported.m_Indices.empty())
    {
        outError = "no triangles";
        return false;
    }

    imported.AddFloatStream("position", 3, 16, arrays.m_Positions.data());
    if (layout.m_Normals)
        imported.AddFloatStream("normal", 3, 16, arrays.m_Normals.data());
    if (layout.m_Colours)
        imported.AddFloatStream("diffuse", 1, 4, reinterpret_cast<const float*>(arrays.m_Colours.data()));
    for (unsigned set = 0; set < AI_MAX_NUMBER_OF_TEXTURECOORDS; ++set)
        if (layout.m_TexCoordSize[set] != 0)
            imported.AddFloatStream("tex" + std::to_string(set), layout.m_TexCoordSize[set],
                                    layout.m_TexCoordSize[set] * 4, arrays.m_TexCoords[set].data());
    outMesh = std::move(imported);
    return true;
}

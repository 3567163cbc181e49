#include "CarAssets.h"

#include "CarShape.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace car
{
namespace
{
// How the tunnel's field lies in the world: particle (x, y) in the unit square sits at
// z = 31 (x - 0.5), y = 6.5 - 15 y on screen, and cell (i, j) covers x from i / (N - 1).
constexpr float kFieldWidth = 31.0f;
constexpr float kFieldTop = 6.5f;
constexpr float kFieldHeight = 15.0f;
constexpr size_t kMaxPlainLine = 70;

struct SCell
{
    int m_Flag;
    int m_Green;
    int m_Blue;
};

SCell CellAt(int column, int row)
{
    const float z = kFieldWidth * ((column + 0.5f) / (kTunnelColumns - 1) - 0.5f);
    const float y = kFieldTop - kFieldHeight * (row + 0.5f) / (kTunnelRows - 1);
    if (row == 0)
        return {2, 90, 100}; // ceiling
    if (y < kGroundY)
        return {2, 60, 60}; // road
    if (InsideSilhouette(z, y))
        return {2, 40, 40}; // the car
    if (column == 0)
        return {1, 220, 90}; // inlet
    return {1, 200, 255};
}

void AppendBytes(std::string& bytes, const void* data, size_t count)
{
    bytes.append(static_cast<const char*>(data), count);
}

void AppendUInt(std::string& bytes, uint32_t value)
{
    const uint8_t le[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                           static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    AppendBytes(bytes, le, 4);
}

void AppendFloat(std::string& bytes, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    AppendUInt(bytes, bits);
}

void AppendString(std::string& bytes, const std::string& text)
{
    AppendUInt(bytes, static_cast<uint32_t>(text.size()));
    bytes += text;
}

void AppendVariable(std::string& bytes, const char* name, const float* values, uint32_t count)
{
    AppendString(bytes, name);
    AppendUInt(bytes, count * 4);
    for (uint32_t i = 0; i < count; ++i)
        AppendFloat(bytes, values[i]);
}

std::string Printf(const char* format, double a, double b = 0, double c = 0, double d = 0)
{
    char text[160];
    std::snprintf(text, sizeof(text), format, a, b, c, d);
    return text;
}

}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (file)
        return true;
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
}

std::string MakeCellFileText()
{
    std::string text = "P3\n# car7b: wind tunnel cells; red 1 fluid, 2 solid\n";
    text += std::to_string(kTunnelColumns) + " " + std::to_string(kTunnelRows) + "\n255\n";
    for (int row = 0; row < kTunnelRows; ++row)
    {
        std::string line;
        for (int column = 0; column < kTunnelColumns; ++column)
        {
            const SCell cell = CellAt(column, row);
            const std::string sample = std::to_string(cell.m_Flag) + " " + std::to_string(cell.m_Green) +
                                       " " + std::to_string(cell.m_Blue);
            if (!line.empty() && line.size() + 1 + sample.size() > kMaxPlainLine)
            {
                text += line + "\n";
                line.clear();
            }
            line += (line.empty() ? "" : " ") + sample;
        }
        text += line + "\n";
    }
    return text;
}

std::string MakeXFileText()
{
    const std::vector<SPart> parts = BuildCarParts();
    std::string vertices;
    std::string normals;
    std::string faces;
    std::string faceMaterials;
    size_t vertexCount = 0;
    size_t faceCount = 0;
    for (size_t p = 0; p < parts.size(); ++p)
    {
        for (const SVertex& v : parts[p].m_Vertices)
        {
            vertices += Printf("%.5f;%.5f;%.5f;,\n", v.m_Position[0], v.m_Position[1], v.m_Position[2]);
            normals += Printf("%.5f;%.5f;%.5f;,\n", v.m_Normal[0], v.m_Normal[1], v.m_Normal[2]);
        }
        for (size_t i = 0; i < parts[p].m_Indices.size(); i += 3)
        {
            faces += Printf("3;%.0f,%.0f,%.0f;,\n", static_cast<double>(vertexCount + parts[p].m_Indices[i]),
                            static_cast<double>(vertexCount + parts[p].m_Indices[i + 1]),
                            static_cast<double>(vertexCount + parts[p].m_Indices[i + 2]));
            faceMaterials += std::to_string(p) + ",\n";
            ++faceCount;
        }
        vertexCount += parts[p].m_Vertices.size();
    }
    // The last element of each list ends with ";;" instead of ";,".
    auto closeList = [](std::string& list, const char* end) { list.replace(list.size() - 2, 2, end); };
    closeList(vertices, ";\n");
    closeList(normals, ";\n");
    closeList(faces, ";\n");
    closeList(faceMaterials, ";\n");

    std::string text = "xof 0303txt 0032\n\nFrame car {\n FrameTransformMatrix {\n  "
                       "1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n }\n";
    text += " Mesh body {\n" + std::to_string(vertexCount) + ";\n" + vertices + std::to_string(faceCount) +
            ";\n" + faces;
    text += "  MeshNormals {\n" + std::to_string(vertexCount) + ";\n" + normals + std::to_string(faceCount) +
            ";\n" + faces + "  }\n";
    text += "  MeshMaterialList {\n" + std::to_string(parts.size()) + ";\n" + std::to_string(faceCount) +
            ";\n" + faceMaterials;
    for (const SPart& part : parts)
    {
        const SLook& look = part.m_Look;
        text += "   Material " + part.m_Name + " {\n";
        text += Printf("    %.4f;%.4f;%.4f;%.4f;;\n", look.m_Diffuse[0], look.m_Diffuse[1], look.m_Diffuse[2],
                       look.m_Diffuse[3]);
        text += Printf("    %.4f;\n", look.m_Power);
        text += Printf("    %.4f;%.4f;%.4f;;\n", look.m_Specular[0], look.m_Specular[1], look.m_Specular[2]);
        text += Printf("    %.4f;%.4f;%.4f;;\n", look.m_Emissive[0], look.m_Emissive[1], look.m_Emissive[2]);
        text += "   }\n";
    }
    text += "  }\n }\n}\n";
    return text;
}

std::string MakeAmFileBytes()
{
    const std::vector<SPart> parts = BuildCarParts();
    std::string surfaces;
    std::string positions;
    std::string normals;
    std::string indices;
    uint32_t vertexCount = 0;
    uint32_t triangleCount = 0;
    for (const SPart& part : parts)
    {
        const uint32_t partTriangles = static_cast<uint32_t>(part.m_Indices.size() / 3);
        const uint32_t partVertices = static_cast<uint32_t>(part.m_Vertices.size());
        for (uint32_t value : {triangleCount, partTriangles, vertexCount, partVertices})
            AppendUInt(surfaces, value);
        for (const SVertex& v : part.m_Vertices)
        {
            for (float value : {v.m_Position[0], v.m_Position[1], v.m_Position[2], 1.0f})
                AppendFloat(positions, value);
            for (float value : {v.m_Normal[0], v.m_Normal[1], v.m_Normal[2], 0.0f})
                AppendFloat(normals, value);
        }
        for (uint32_t index : part.m_Indices)
            AppendUInt(indices, vertexCount + index);
        vertexCount += partVertices;
        triangleCount += partTriangles;
    }
    std::string bytes;
    AppendUInt(bytes, static_cast<uint32_t>(parts.size()));
    bytes += surfaces;
    AppendUInt(bytes, 3);
    for (const auto& [name, stride, data] :
         {std::tuple<const char*, uint32_t, const std::string&>{"position", 16, positions},
          {"normal", 16, normals},
          {"indices", 4, indices}})
    {
        AppendString(bytes, name);
        AppendUInt(bytes, stride);
        AppendUInt(bytes, static_cast<uint32_t>(data.size() / stride));
        bytes += data;
    }
    AppendUInt(bytes, static_cast<uint32_t>(parts.size()));
    const float noTexture = 0.0f;
    for (const SPart& part : parts)
    {
        AppendString(bytes, "default");
        AppendString(bytes, "d3d_material");
        AppendUInt(bytes, 0);
        AppendUInt(bytes, 0);
        AppendUInt(bytes, 6);
        AppendVariable(bytes, "r_diffuse", part.m_Look.m_Diffuse, 4);
        AppendVariable(bytes, "r_specular", part.m_Look.m_Specular, 4);
        AppendVariable(bytes, "r_ambient", part.m_Look.m_Ambient, 4);
        AppendVariable(bytes, "r_emissive", part.m_Look.m_Emissive, 4);
        AppendVariable(bytes, "r_power", &part.m_Look.m_Power, 1);
        AppendVariable(bytes, "r_use_texture", &noTexture, 1);
    }
    return bytes;
}
}

bool MakeCarAssets(const std::string& folder)
{
    using car::WriteFile;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    bool written = WriteFile(folder + "/car7b.ppm", car::MakeCellFileText());
    written = WriteFile(folder + "/BugattiVeyron.x", car::MakeXFileText()) && written;
    return WriteFile(folder + "/BugattiVeyron.am", car::MakeAmFileBytes()) && written;
}

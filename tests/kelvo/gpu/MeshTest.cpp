#include "kelvo/gpu/GPUResourceManager.h"
#include "kelvo/gpu/Mesh.h"
#include "platform/window/WindowMessage.h"

#include "support/CaptureStderr.h"
#include "FakeResources.h"
#include "MeshTestHelpers.h"
#include "../world/WorldTestHelpers.h"

#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
constexpr float kTolerance = 1e-5f;

void ExpectFloat4Near(const SFloat4& actual, const SFloat4& expected)
{
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], kTolerance) << "component " << i;
}

class CRecordingDebugDraw : public IMeshDebugDraw
{
public:
    void AddLine(const SVector4&, const SVector4&, uint32_t color, uint32_t) override
    {
        m_Lines.push_back(color);
    }
    void DrawBox(const SBox&, uint32_t color) override { m_Boxes.push_back(color); }
    void DrawText(const SVector4& position, const std::string& text, int anchor) override
    {
        EXPECT_EQ(position.x, 0.1f);
        EXPECT_EQ(position.y, 0.1f);
        EXPECT_EQ(anchor, 0);
        m_Texts.push_back(text);
    }
    void Clear() { *this = {}; }

    std::vector<uint32_t> m_Lines;
    std::vector<uint32_t> m_Boxes;
    std::vector<std::string> m_Texts;
};
}

// Filled meshes' boxes are checked by the built-in mesh and mesh loading tests, the rebuild an
// update asks of the trace geometry by the world's mesh trace test.
TEST(CMesh, UpdateAndItsBoundingBoxNeedAPositionStreamAndAnEmptyOneGivesZeros)
{
    CMesh mesh(nullptr);
    EXPECT_FALSE(mesh.UpdateBoundingBox());
    EXPECT_FALSE(mesh.Update());

    mesh.GetBuffer("position", 16);
    ASSERT_TRUE(mesh.UpdateBoundingBox());
    EXPECT_EQ(BoundingBox(mesh), (std::pair<SFloat4, SFloat4>{{0, 0, 0, 0}, {0, 0, 0, 0}}));
}

TEST(CMesh, TransformMovesPositionsAndTurnsNormals)
{
    CMesh mesh(nullptr);
    FillFloat4(mesh, "position", {{1, 0, 0, 0}, {0, 2, 0, 5}});
    FillFloat4(mesh, "normal", {{1, 0, 0, 0}, {0, 3, 0, 0}, {1e-8f, 0, 0, 0}});

    // A quarter turn about z, doubled in size, then moved by (10, 20, 30).
    SMatrix matrix = MatrixRotationZ(std::numbers::pi_v<float> / 2);
    for (int i = 0; i < 12; ++i)
        matrix.m[i] *= 2.0f;
    matrix = matrix * MatrixTranslation(10, 20, 30);
    mesh.Transform(matrix);

    ExpectFloat4Near(Float4At(mesh, "position", 0), {10, 22, 30, 1});
    ExpectFloat4Near(Float4At(mesh, "position", 1), {6, 20, 30, 1});
    // Normals turn, do not move, and come back to unit length.
    ExpectFloat4Near(Float4At(mesh, "normal", 0), {0, 1, 0, 1});
    ExpectFloat4Near(Float4At(mesh, "normal", 1), {-1, 0, 0, 1});
    // Too short to normalise: turned and scaled but left as it is.
    ExpectFloat4Near(Float4At(mesh, "normal", 2), {0, 2e-8f, 0, 1});

    // A mesh of normals alone gets no positions, nor does a look-up without a stride.
    CMesh normals(nullptr);
    FillFloat4(normals, "normal", {{0, 0, 2, 0}});
    normals.Transform(MatrixTranslation(1, 1, 1));
    EXPECT_EQ(normals.FindBuffer("position"), nullptr);
    EXPECT_EQ(normals.GetBuffer("position", 0), nullptr);
    ExpectFloat4Near(Float4At(normals, "normal", 0), {0, 0, 1, 1});
}

TEST(CMesh, VertexLayoutFollowsTheStreamNames)
{
    CMesh mesh(nullptr);
    const std::pair<const char*, uint32_t> streams[] = {
        {"indices", 4}, {"position", 16}, {"weight", 12},  {"weight matrix", 4}, {"normal", 16},
        {"psize", 4},   {"diffuse", 4},   {"specular", 4}, {"tex0", 8},          {"tex1", 6},
        {"tex7", 4},    {"materials", 4}, {"tex8", 8},     {"xyzrhw", 16}};
    for (const auto& [name, stride] : streams)
        mesh.GetBuffer(name, stride);

    // Streams that are not vertex data, and texture coordinates of no whole float count, are
    // left out; the stream numbers stay consecutive over them.
    std::vector<SMeshVertexElement> elements;
    std::vector<std::string> names;
    std::string log = CaptureStderr([&] { mesh.BuildVertexLayout(elements, names); });
    EXPECT_EQ(log, "[CMeshGL::GetElement] Bad texcoord buffer stride: 6!\n");
    using T = EMeshElementType;
    using U = EMeshElementUsage;
    const std::vector<SMeshVertexElement> expected = {
        {0, T::Float3, U::Position, 0},     {1, T::Float3, U::BlendWeight, 0},
        {2, T::UByte4, U::BlendIndices, 0}, {3, T::Float3, U::Normal, 0},
        {4, T::Float1, U::PointSize, 0},    {5, T::Color, U::Color, 0},
        {6, T::Color, U::Color, 1},         {7, T::Float2, U::TexCoord, 0},
        {8, T::Float1, U::TexCoord, 7},     {9, T::Float4, U::TransformedPosition, 0},
    };
    EXPECT_EQ(elements, expected);
    EXPECT_EQ(names, (std::vector<std::string>{"position", "weight", "weight matrix", "normal", "psize",
                                               "diffuse", "specular", "tex0", "tex7", "xyzrhw"}));

    // Weights of five floats are left out the same way, and the mesh still updates.
    mesh.GetBuffer("weight", 0)->Reset(0, 20);
    log = CaptureStderr([&] { mesh.BuildVertexLayout(elements, names); });
    EXPECT_EQ(log, "[CMeshGL::GetElement] Bad weight buffer stride: 20!\n"
                   "[CMeshGL::GetElement] Bad texcoord buffer stride: 6!\n");
    ASSERT_EQ(elements.size(), 9u);
    EXPECT_EQ(elements[1], (SMeshVertexElement{1, T::UByte4, U::BlendIndices, 0}));
    EXPECT_TRUE(mesh.Update());
}

TEST(CMesh, ReleaseGivesBackMaterialReferencesAndForgetsSurfaces)
{
    const int liveBefore = CFakeResource::s_LiveCount;
    CTestResourceManager resources;
    {
        CMesh mesh(&resources);
        mesh.GetMaterialHandles().push_back(resources.AddMaterial("mesh_a_mat_0"));
        mesh.GetMaterialHandles().push_back(resources.AddMaterial("mesh_a_mat_1"));
        mesh.GetSurfaces().push_back({0, 1, 0, 3});
        FillFloat4(mesh, "position", {{0, 0, 0, 0}});
        EXPECT_EQ(CFakeResource::s_LiveCount, liveBefore + 2);

        EXPECT_TRUE(mesh.Release());
        EXPECT_EQ(CFakeResource::s_LiveCount, liveBefore);
        EXPECT_TRUE(mesh.GetStreams().empty());
        EXPECT_TRUE(mesh.GetSurfaces().empty());
        EXPECT_TRUE(mesh.GetMaterialHandles().empty());

        // Destruction gives back what was taken since.
        mesh.GetMaterialHandles().push_back(resources.AddMaterial("mesh_a_mat_2"));
    }
    EXPECT_EQ(CFakeResource::s_LiveCount, liveBefore);
}

TEST(CMesh, RenderSurfaceChecksTheIndexAndItsDebugDisplayFollowsTheInjectedKeys)
{
    CRecordingDebugDraw draw;
    SMeshDebugAids aids{SScriptedInput::Queries(), &draw};
    CMesh mesh(nullptr);
    mesh.GetDebugDisplay().SetAids(&aids);
    FillFloat4(mesh, "position", {{0, 0, 0, 1}, {1, 0, 0, 1}, {0, 1, 0, 1}, {1, 1, 0, 1}});
    CMeshDataBuffer* indices = mesh.GetBuffer("indices", 4);
    indices->Resize(6);
    for (uint32_t i = 0; i < 6; ++i)
        *indices->Element<uint32_t>(i) = std::array<uint32_t, 6>{0, 1, 2, 2, 1, 3}[i];
    mesh.GetSurfaces() = {{0, 1, 0, 3}, {1, 1, 1, 3}, {0, 2, 0, 4}};
    mesh.GetDebugDisplay().AddBox({{0, 0, 0, 1}, {1, 1, 1, 1}});
    // The second group also names a triangle the mesh does not have: it is left out.
    mesh.GetDebugDisplay().AddTriangleGroup({1});
    mesh.GetDebugDisplay().AddTriangleGroup({0, 7, 1});

    // Surfaces past the last are refused before anything is drawn.
    const auto hold = [](uint32_t key) {
        SScriptedInput::Reset();
        SScriptedInput::s_Held[key] = true;
    };
    SScriptedInput::Reset();
    EXPECT_EQ(mesh.RenderSurface(5), 55u);
    EXPECT_EQ(mesh.RenderSurface(3), 55u);
    EXPECT_TRUE(draw.m_Boxes.empty());
    // No keys: surface 0 brings the white boxes, nothing else is drawn and every surface is
    // (the draw is the mesh's own: the base class has no device).
    EXPECT_EQ(mesh.Render(), 2u);
    EXPECT_EQ(mesh.RenderSurface(0), 2u);
    EXPECT_EQ(mesh.RenderSurface(1), 2u);
    EXPECT_EQ(draw.m_Boxes, std::vector<uint32_t>{CMeshDebugDisplay::kBoxColor});
    EXPECT_TRUE(draw.m_Lines.empty() && draw.m_Texts.empty());

    // End steps forward once per press, Home back; past either end no group is shown.
    const auto press = [&](uint32_t key) {
        hold(key);
        draw.Clear();
        mesh.RenderSurface(0);
        mesh.RenderSurface(0); // still held: no second step
        SScriptedInput::Reset();
        mesh.RenderSurface(1);
        return std::make_pair(mesh.GetDebugDisplay().GetShownGroup(), draw.m_Lines.size());
    };
    EXPECT_EQ(press(platform::VK_END), std::make_pair(0, std::size_t{6}));
    EXPECT_EQ(press(platform::VK_END), std::make_pair(1, std::size_t{12}));
    EXPECT_EQ(press(platform::VK_END), std::make_pair(-1, std::size_t{0}));
    EXPECT_EQ(press(platform::VK_HOME), std::make_pair(1, std::size_t{12}));
    EXPECT_EQ(press(platform::VK_HOME), std::make_pair(0, std::size_t{6}));

    // Space writes the surface and its triangle count; left Shift hides the listed surfaces.
    hold(platform::VK_SPACE);
    draw.Clear();
    mesh.RenderSurface(2);
    EXPECT_EQ(draw.m_Texts, std::vector<std::string>{"surface: 2, tris: 2"});
    hold(platform::VK_LSHIFT);
    EXPECT_EQ(mesh.RenderSurface(1), 0u);
    EXPECT_EQ(mesh.RenderSurface(2), 2u);
    SScriptedInput::Reset();
}

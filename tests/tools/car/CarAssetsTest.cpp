// The car's generated files: the tunnel's cells hold what the scene's rules need, and the
// model reads back through the program's own loaders with its 47 parts.
#include "car/CarAssets.h"
#include "car/CarShape.h"

#include "brovell/windtunnel/CellFile.h"
#include "kelvo/gpu/xfile/XFileImporter.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

TEST(CarAssets, TunnelCellsOpenWhereParticlesRespawnAndSolidUnderTheCar)
{
    SCellGrid grid;
    std::string error;
    ASSERT_TRUE(ParseCellText(car::MakeCellFileText(), grid, error)) << error;
    ASSERT_GT(grid.m_Width, 120);
    const int32_t w = grid.m_Width;
    const int32_t h = grid.m_Height;
    auto flag = [&](int32_t x, int32_t y) { return grid.m_Flags[static_cast<size_t>(x) * h + y]; };
    // The jet near column 115 at mid-height is open, as are the nine inlet streams at the
    // left edge (y from 0.25 to 0.57, cells by the advection's rule).
    for (int32_t x = 115; x <= 120; ++x)
        for (int32_t y = h / 2; y <= h / 2 + 5; ++y)
            EXPECT_EQ(flag(x, y), 1) << x << ", " << y;
    for (int32_t y = static_cast<int32_t>(0.25f * (h - 1)); y <= static_cast<int32_t>(0.57f * (h - 1)); ++y)
        EXPECT_EQ(flag(0, y), 1) << y;
    // A ceiling, a road, and the car's solid silhouette standing on the road in the middle.
    int32_t carCells = 0;
    int32_t roadRow = h;
    for (int32_t y = h - 1; y > 0 && flag(w / 2 + 30, y) == 2; --y)
        roadRow = y;
    for (int32_t x = 0; x < w; ++x)
    {
        EXPECT_EQ(flag(x, 0), 2);
        EXPECT_EQ(flag(x, h - 1), 2);
        for (int32_t y = 1; y < roadRow; ++y)
            carCells += flag(x, y) == 2;
    }
    EXPECT_GT(carCells, 500);
    EXPECT_LT(carCells, w * h / 10);
}

TEST(CarAssets, ModelReadsBackWithEveryPart)
{
    const std::vector<car::SPart> parts = car::BuildCarParts();
    ASSERT_EQ(parts.size(), 47u);
    size_t triangles = 0;
    for (const car::SPart& part : parts)
    {
        EXPECT_FALSE(part.m_Indices.empty()) << part.m_Name;
        triangles += part.m_Indices.size() / 3;
    }
    EXPECT_GT(triangles, 2000u);
    EXPECT_LT(triangles, 20000u);

    const std::string path = MakeScratchFolder("car_assets_test") + "/car.x";
    ASSERT_TRUE(car::WriteFile(path, car::MakeXFileText()));
    SImportedMesh mesh;
    std::string error;
    ASSERT_TRUE(ImportXFile(path, mesh, error)) << error;
    ASSERT_EQ(mesh.m_Subsets.size(), parts.size());
    EXPECT_EQ(mesh.m_Indices.size(), 3 * triangles);
    for (size_t i = 0; i < parts.size(); ++i)
    {
        EXPECT_EQ(mesh.m_Subsets[i].m_Surface.m_PrimitiveCount, parts[i].m_Indices.size() / 3)
            << parts[i].m_Name;
        EXPECT_FLOAT_EQ(mesh.m_Subsets[i].m_Material.m_Diffuse[0], parts[i].m_Look.m_Diffuse[0])
            << parts[i].m_Name;
    }
}

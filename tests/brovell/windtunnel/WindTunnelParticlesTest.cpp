// The particles: seeding, advection along the flow, and respawning of particles that leave
// the grid or enter a solid cell, bounded when nowhere may take them.
#include "brovell/windtunnel/WindTunnel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr int32_t kSize = 160;

// A tunnel the size of the show's, open everywhere except a solid block in the middle.
SCellGrid BlockGrid(int32_t blockFlag = 2)
{
    SCellGrid grid{kSize, kSize, std::vector<int32_t>(kSize * kSize, 1)};
    for (int32_t x = 60; x < 100; ++x)
        for (int32_t y = 60; y < 100; ++y)
            grid.m_Flags[static_cast<size_t>(x) * kSize + y] = blockFlag;
    return grid;
}

// The cell the respawn rule checks, or -1 off the grid.
int32_t FlagUnder(const CWindTunnel& tunnel, float x, float y)
{
    const float gx = static_cast<float>(tunnel.GetWidth() - 1) * x;
    const float gy = static_cast<float>(tunnel.GetHeight() - 1) * y;
    if (!(gx > -1.0f && gx < tunnel.GetWidth() && gy > -1.0f && gy < tunnel.GetHeight()))
        return -1;
    return tunnel.GetFlags()[tunnel.CellIndex(static_cast<int32_t>(gx), static_cast<int32_t>(gy))];
}

void SetFlow(CWindTunnel& tunnel, float ux, float uy)
{
    std::fill(tunnel.GetVelocityX().begin(), tunnel.GetVelocityX().end(), ux);
    std::fill(tunnel.GetVelocityY().begin(), tunnel.GetVelocityY().end(), uy);
}

// A tunnel set up on the block grid.
class WindTunnelParticles : public testing::Test
{
protected:
    void SetUp() override { tunnel.Setup(BlockGrid()); }

    CRandom15 random;
    CWindTunnel tunnel{random};
};
}

TEST_F(WindTunnelParticles, SeedsOnlyOpenCellsInsideTheGrid)
{
    for (int32_t p = 0; p < CWindTunnel::kParticleCount; ++p)
    {
        const float x = tunnel.GetParticlesX()[p];
        const float y = tunnel.GetParticlesY()[p];
        ASSERT_TRUE(x >= 0.0f && x <= 1.0f && y >= 0.0f && y <= 1.0f) << "particle " << p;
        ASSERT_FALSE(x * kSize >= 60 && x * kSize < 100 && y * kSize >= 60 && y * kSize < 100)
            << "particle " << p;
    }
}

TEST_F(WindTunnelParticles, FollowTheFlowBilinearly)
{
    // ux grows by 0.01 per column, so the interpolation is exact between columns.
    for (int32_t x = 0; x < kSize; ++x)
        for (int32_t y = 0; y < kSize; ++y)
            tunnel.GetVelocityX()[tunnel.CellIndex(x, y)] = 0.01f * static_cast<float>(x);
    std::fill(tunnel.GetVelocityY().begin(), tunnel.GetVelocityY().end(), 0.002f);
    const float x = 20.25f / (kSize - 1);
    tunnel.GetParticlesX()[0] = x;
    tunnel.GetParticlesY()[0] = 0.3f;
    tunnel.Advect(0.5f);
    EXPECT_NEAR(tunnel.GetParticlesX()[0], x + 0.5f * 0.2025f, 1e-5f);
    EXPECT_NEAR(tunnel.GetParticlesY()[0], 0.3f + 0.5f * 0.002f, 1e-6f);
}

TEST_F(WindTunnelParticles, RespawnInTheSameStepWhenEnteringSolidOrLeaving)
{
    for (int32_t mode : {0, 1})
    {
        tunnel.Setup(BlockGrid());
        tunnel.SetRespawnMode(mode);
        SetFlow(tunnel, 0.1f, 0.0f);
        // Every particle starts just left of the block or in the last column, and one step
        // of 0.05 takes it into the block or off the grid.
        for (int32_t p = 0; p < CWindTunnel::kParticleCount; ++p)
        {
            tunnel.GetParticlesX()[p] = p % 2 == 0 ? 59.5f / (kSize - 1) : 1.004f;
            tunnel.GetParticlesY()[p] = (61.0f + static_cast<float>(p % 30)) / (kSize - 1);
        }
        tunnel.Advect(0.05f);
        int jets = 0;
        for (int32_t p = 0; p < CWindTunnel::kParticleCount; ++p)
        {
            const float x = tunnel.GetParticlesX()[p];
            const float y = tunnel.GetParticlesY()[p];
            const int32_t flag = FlagUnder(tunnel, x, y);
            ASSERT_TRUE(flag != -1 && flag != 2)
                << "mode " << mode << ", particle " << p << " at " << x << ", " << y;
            const bool jet =
                x >= 115.0f / kSize && x <= 120.0f / kSize && y >= 0.5f && y <= 0.5f + 5.0f / kSize;
            jets += jet;
            if (mode == 0 && !jet)
            {
                // One of the nine inlet streams at the left edge.
                ASSERT_LE(x, 0.005f) << "particle " << p;
                const float stream = (y - 0.25f) / 0.03888889f;
                ASSERT_GE(stream, 0.0f);
                ASSERT_LT(stream - std::floor(stream), 0.003f / 0.03888889f + 1e-4f) << "particle " << p;
            }
        }
        // About 2 % of the respawns go to the jet.
        EXPECT_GT(jets, CWindTunnel::kParticleCount / 100);
        EXPECT_LT(jets, CWindTunnel::kParticleCount * 3 / 100);
    }
}

TEST_F(WindTunnelParticles, RespawnEndsWhenNoCellCanTakeTheParticle)
{
    // All solid: nothing can be respawned anywhere, yet the step ends and the particles stay.
    tunnel.Setup(SCellGrid{kSize, kSize, std::vector<int32_t>(kSize * kSize, 2)});
    SetFlow(tunnel, 0.1f, 0.0f);
    tunnel.GetParticlesX()[0] = 0.5f;
    tunnel.GetParticlesY()[0] = 0.5f;
    tunnel.Advect(0.05f);
    EXPECT_EQ(tunnel.GetParticlesX()[0], 0.5f);
    EXPECT_EQ(tunnel.GetParticlesY()[0], 0.5f);
}

TEST_F(WindTunnelParticles, TimeStepIsTheChangeOfTimeAndStaysWhenTimeStands)
{
    tunnel.Step(0.0f);
    EXPECT_EQ(tunnel.GetTimeStep(), 0.0f);
    tunnel.Step(8.0f);
    tunnel.Step(20.0f);
    EXPECT_EQ(tunnel.GetTimeStep(), 12.0f);
    tunnel.Step(20.0f);
    EXPECT_EQ(tunnel.GetTimeStep(), 12.0f);
    EXPECT_EQ(tunnel.GetStepCount(), 4);
}

// The flow: the one-pass kernel against the two passes written out plainly on a wrapping grid,
// a channel's profile, and mass in a closed box.
#include "brovell/windtunnel/WindTunnel.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{
constexpr int kQ = CWindTunnel::kDirections;
// The velocity that the force adds in one step: half of it shifts the equilibrium, relaxed
// at omega.
constexpr double kForce = 0.00004;
constexpr double kOmega = 1.3;
constexpr double kGainPerStep = 0.5 * kOmega * kForce;
constexpr double kViscosity = (1.0 / kOmega - 0.5) / 3.0;

// Flags from a function of (x, y).
template <typename FlagOf>
SCellGrid MakeGrid(int32_t width, int32_t height, FlagOf flagOf)
{
    SCellGrid grid{width, height, std::vector<int32_t>(static_cast<size_t>(width) * height)};
    for (int32_t x = 0; x < width; ++x)
        for (int32_t y = 0; y < height; ++y)
            grid.m_Flags[static_cast<size_t>(x) * height + y] = flagOf(x, y);
    return grid;
}

double TotalMass(const CWindTunnel& tunnel)
{
    double mass = 0.0;
    const size_t count = static_cast<size_t>(tunnel.GetWidth()) * tunnel.GetHeight() * kQ;
    for (size_t i = 0; i < count; ++i)
        mass += tunnel.GetDistributions()[i];
    return mass;
}

// One step as two plain passes, as the rules read: collision of every cell of live in place,
// streaming with the flag rules into other, then the two swap.
void ReferenceStep(std::vector<float>& live, std::vector<float>& other, const SCellGrid& grid,
                   std::vector<float>& ux, std::vector<float>& uy)
{
    const int32_t nx = grid.m_Width;
    const int32_t ny = grid.m_Height;
    for (int32_t cell = 0; cell < nx * ny; ++cell)
    {
        float* f = &live[static_cast<size_t>(cell) * kQ];
        float rho = 0.0f;
        float mx = 0.0f;
        float my = 0.0f;
        for (int k = 0; k < kQ; ++k)
        {
            rho += f[k];
            mx += f[k] * static_cast<float>(CWindTunnel::kEx[k]);
            my += f[k] * static_cast<float>(CWindTunnel::kEy[k]);
        }
        float u = 0.0f;
        float v = 0.0f;
        if (rho != 0.0f)
        {
            u = mx / rho;
            v = my / rho;
            ux[cell] = u;
            uy[cell] = v;
        }
        u += 0.5f * static_cast<float>(kForce);
        const float usq = u * u + v * v;
        for (int k = 0; k < kQ; ++k)
        {
            const float eu =
                static_cast<float>(CWindTunnel::kEx[k]) * u + static_cast<float>(CWindTunnel::kEy[k]) * v;
            f[k] = static_cast<float>(kOmega) * CWindTunnel::kWeights[k] * rho *
                       (1.0f + 3.0f * eu + 4.5f * eu * eu - 1.5f * usq) +
                   (1.0f - static_cast<float>(kOmega)) * f[k];
        }
    }
    for (int32_t x = 0; x < nx; ++x)
        for (int32_t y = 0; y < ny; ++y)
            for (int k = 0; k < kQ; ++k)
            {
                const int32_t cell = x * ny + y;
                const int32_t n =
                    ((x + CWindTunnel::kEx[k] + nx) % nx) * ny + (y + CWindTunnel::kEy[k] + ny) % ny;
                const float value = live[static_cast<size_t>(cell) * kQ + k];
                if ((grid.m_Flags[cell] & 1) == 0)
                {
                    if (grid.m_Flags[n] & 1)
                        other[static_cast<size_t>(n) * kQ + k] = value;
                }
                else if (grid.m_Flags[n] & 2)
                    other[static_cast<size_t>(n) * kQ + CWindTunnel::kOpposite[k]] = value;
                else
                    other[static_cast<size_t>(n) * kQ + k] = value;
            }
    live.swap(other);
}
}

TEST(WindTunnelFlow, OnePassGivesWhatCollisionThenStreamingGive)
{
    // Every kind of cell, scattered, on a grid that wraps; random populations so that no
    // symmetry hides a wrong index.
    CRandom15 random;
    const SCellGrid grid = MakeGrid(23, 17, [&](int32_t, int32_t) {
        const int draw = random.Next() % 10;
        return draw < 6 ? 1 : draw < 8 ? 2 : draw == 8 ? 0 : 3;
    });
    CRandom15 tunnelRandom;
    CWindTunnel tunnel(tunnelRandom);
    tunnel.Setup(grid);
    const size_t count = grid.m_Flags.size() * kQ;
    std::vector<float> other(tunnel.GetDistributions(), tunnel.GetDistributions() + count);
    for (size_t i = 0; i < count; ++i)
        tunnel.GetDistributions()[i] = 0.02f + 0.1f * static_cast<float>(random.Next()) / 32767.0f;
    std::vector<float> live(tunnel.GetDistributions(), tunnel.GetDistributions() + count);
    std::vector<float> ux(grid.m_Flags.size(), 0.0f);
    std::vector<float> uy(grid.m_Flags.size(), 0.0f);

    for (int step = 1; step <= 30; ++step)
    {
        ReferenceStep(live, other, grid, ux, uy);
        tunnel.StepFlow();
        for (size_t i = 0; i < count; ++i)
            ASSERT_NEAR(tunnel.GetDistributions()[i], live[i], 1e-6f * std::fabs(live[i]) + 1e-9f)
                << "step " << step << ", cell " << i / kQ << ", direction " << i % kQ;
        for (size_t cell = 0; cell < ux.size(); ++cell)
        {
            ASSERT_NEAR(tunnel.GetVelocityX()[cell], ux[cell], 1e-6f) << "step " << step << ", cell " << cell;
            ASSERT_NEAR(tunnel.GetVelocityY()[cell], uy[cell], 1e-6f) << "step " << step << ", cell " << cell;
        }
    }
}

TEST(WindTunnelFlow, ChannelBetweenTwoWallsSettlesToAParabola)
{
    // Walls on rows 0 and 22, 21 fluid rows, periodic along x.
    constexpr int32_t kWidth = 4;
    constexpr int32_t kHeight = 23;
    CRandom15 random;
    CWindTunnel tunnel(random);
    tunnel.Setup(
        MakeGrid(kWidth, kHeight, [](int32_t, int32_t y) { return y == 0 || y == kHeight - 1 ? 2 : 1; }));
    for (int step = 0; step < 8000; ++step)
        tunnel.StepFlow();

    // A parabola has the same second difference everywhere, twice its curvature; the force
    // and the viscosity set that curvature, the walls put the apex midway between them.
    const double expectedCurvature = -kGainPerStep / (2.0 * kViscosity);
    const auto u = [&](int32_t y) {
        return static_cast<double>(tunnel.GetVelocityX()[tunnel.CellIndex(1, y)]);
    };
    for (int32_t y = 2; y < kHeight - 2; ++y)
    {
        EXPECT_NEAR((u(y + 1) - 2.0 * u(y) + u(y - 1)) / (2.0 * expectedCurvature), 1.0, 0.005)
            << "row " << y;
        EXPECT_NEAR(u(y), u(kHeight - 1 - y), 1e-4 * u(kHeight / 2)) << "row " << y;
    }
    // The same profile in every column.
    for (int32_t x = 0; x < kWidth; ++x)
        for (int32_t y = 1; y < kHeight - 1; ++y)
            EXPECT_FLOAT_EQ(tunnel.GetVelocityX()[tunnel.CellIndex(x, y)],
                            tunnel.GetVelocityX()[tunnel.CellIndex(1, y)]);
}

TEST(WindTunnelFlow, ClosedBoxKeepsItsMass)
{
    // Solid border, fluid inside, an obstacle in the middle; the force drives a circulation.
    CRandom15 random;
    CWindTunnel tunnel(random);
    tunnel.Setup(MakeGrid(40, 24, [](int32_t x, int32_t y) {
        const bool border = x == 0 || y == 0 || x == 39 || y == 23;
        const bool block = x >= 15 && x < 20 && y >= 8 && y < 14;
        return border || block ? 2 : 1;
    }));
    const double mass = TotalMass(tunnel);
    constexpr int kSteps = 1000;
    for (int step = 0; step < kSteps; ++step)
        tunnel.StepFlow();
    // Each step keeps the mass but for the rounding of its single-precision arithmetic.
    const double drift = std::fabs(TotalMass(tunnel) - mass) / mass;
    std::printf("closed box: relative mass change %.3g after %d steps\n", drift, kSteps);
    EXPECT_LT(drift, kSteps * static_cast<double>(FLT_EPSILON));
}

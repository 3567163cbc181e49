// The ball simulation: its lattice, its step clock, balls at rest on a wall, turning gravity.
#include "quellbeam/content/BallSimulation.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quellbeam;

namespace
{
// A simulation started in configuration 5, the show's.
class BallSimulation : public testing::Test
{
protected:
    void SetUp() override { simulation.Start(5, random); }

    CRandom15 random;
    CBallSimulation simulation;
};
}

TEST_F(BallSimulation, ConfigurationFiveBuildsAJitteredLatticeAndOneHeavyBall)
{
    const std::vector<SBall>& balls = simulation.GetBalls();
    ASSERT_EQ(balls.size(), 9u * 9u * 9u + 1u);
    // x is the outermost loop, z the innermost.
    EXPECT_NEAR(balls[1].position[2], -0.19f, 0.0101f);
    EXPECT_NEAR(balls[81].position[0], -0.19f, 0.0101f);
    EXPECT_GT(balls.back().mass, balls[0].mass);
    EXPECT_EQ(simulation.GetAcceleration()[1], -3.0f);
    EXPECT_EQ(simulation.GetConfiguration(), 5);

    // Other configuration numbers are kept and built the same way; a restart resets gravity.
    const float sideways[3] = {2, 0, 0};
    simulation.SetAcceleration(sideways);
    simulation.Start(2, random);
    EXPECT_EQ(simulation.GetConfiguration(), 2);
    EXPECT_EQ(simulation.GetBalls().size(), 730u);
    EXPECT_EQ(simulation.GetAcceleration()[0], 0.0f);
}

TEST_F(BallSimulation, StepsEveryEightMillisecondsOfTheClock)
{
    simulation.GetBalls().assign(1, SBall{{0, 0, 0}, {}, 0.4f, 0.019f, {}, {}});
    simulation.Advance(1000.0); // records the clock only
    EXPECT_EQ(simulation.GetBalls()[0].velocity[1], 0.0f);
    simulation.Advance(1007.9); // shorter than a step
    EXPECT_EQ(simulation.GetBalls()[0].velocity[1], 0.0f);
    // 10 steps of free fall at 3 units/s^2 with dt 0.003 (drag is tiny at these speeds).
    simulation.Advance(1080.0);
    EXPECT_NEAR(simulation.GetBalls()[0].velocity[1], -3.0f * 0.003f * 10, 2e-4);
    simulation.Advance(1087.9);
    EXPECT_NEAR(simulation.GetBalls()[0].velocity[1], -3.0f * 0.003f * 10, 2e-4);
}

TEST_F(BallSimulation, BallRestingOnTheLowerWallSinksByItsWeightOverTheStiffness)
{
    const float radius = 0.019f, mass = 0.4f;
    simulation.GetBalls().assign(1, SBall{{0.05f, -0.3f + radius, 0.02f}, {}, mass, radius, {}, {}});
    // Average the penetration over many oscillations about the balance point.
    double sum = 0.0;
    const int steps = 4000;
    for (int i = 0; i < steps; ++i)
    {
        simulation.Step();
        sum += -0.3 - (simulation.GetBalls()[0].position[1] - radius);
    }
    const double expected = mass * 3.0 / 1950.0;
    EXPECT_NEAR(sum / steps, expected, 0.05 * expected);
    EXPECT_FALSE(simulation.HadContact());
}

TEST_F(BallSimulation, TurningGravityMovesTheLatticeToAnotherFace)
{
    // Settle on the lower face, then push everything towards +x.
    double clock = 0.0;
    for (; clock <= 3000.0; clock += 40.0)
        simulation.Advance(clock);
    auto mean = [&](int axis) {
        double sum = 0.0;
        for (const SBall& ball : simulation.GetBalls())
            sum += ball.position[axis];
        return sum / static_cast<double>(simulation.GetBalls().size());
    };
    EXPECT_LT(mean(1), -0.1);
    EXPECT_NEAR(mean(0), 0.0, 0.05);
    EXPECT_TRUE(simulation.HadContact());

    const float sideways[3] = {3.0f, 0.0f, 0.0f};
    simulation.SetAcceleration(sideways);
    for (double end = clock + 3000.0; clock <= end; clock += 40.0)
        simulation.Advance(clock);
    EXPECT_GT(mean(0), 0.1);
    for (const SBall& ball : simulation.GetBalls())
    {
        EXPECT_LT(ball.position[0] + ball.radius, 0.31f);
        EXPECT_GT(ball.position[0] - ball.radius, -0.31f);
    }
}

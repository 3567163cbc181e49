// Loose balls tumbling in an invisible cube: penalty forces against the walls and between
// touching balls (found through a uniform neighbour grid over -1..1), quadratic drag and an
// explicit integrator stepped every 8 ms of scene time. Owned by the tracer; the tracer reads
// each ball's position and radius after every advance.
#pragma once

#include "platform/Random15.h"

#include <cstdint>
#include <vector>

namespace quellbeam
{
// One ball, 14 floats.
struct SBall
{
    float position[3];
    float velocity[3];
    float mass;
    float radius;
    float colour[3]; // not read by the tracer
    float force[3];
};
static_assert(sizeof(SBall) == 14 * sizeof(float));

class CBallSimulation
{
public:
    static constexpr double kStepMs = 8.0;

    // Rebuilds the balls of a configuration (every number is built like configuration 5, the one
    // the demo uses), drawing from the given generator.
    void Start(int configuration, CRandom15& random);
    // Runs the 8 ms steps due by the clock; the first call only records the clock.
    void Advance(double clockMs);
    // One integration step, without a grid rebuild.
    void Step();
    void RebuildGrid();

    void SetAcceleration(const float* acceleration);
    const float* GetAcceleration() const { return m_Acceleration; }
    std::vector<SBall>& GetBalls() { return m_Balls; }
    const std::vector<SBall>& GetBalls() const { return m_Balls; }
    int GetConfiguration() const { return m_Configuration; }
    bool HadContact() const { return m_Contact != 0; }

private:
    void CreateLattice(CRandom15& random);
    uint32_t CellIndex(const float* position) const;
    void AddWallForces(SBall& ball) const;
    void AddContactForces();
    void AddContact(SBall& a, SBall& b);

    // Parameters of the configuration.
    float m_Acceleration[3] = {0.0f, -3.0f, 0.0f};
    float m_WallStiffness = 1950.0f;
    float m_ContactStiffness = 1300.0f;
    float m_ContactDamping = 20.0f;
    float m_StepConstant = 0.006f;
    int m_Resolution = 30;
    float m_Drag = 0.1f;
    int m_Configuration = 5;
    // State.
    int m_Contact = 0;
    std::vector<SBall> m_Balls;
    std::vector<std::vector<uint32_t>> m_Grid;
    bool m_ClockStarted = false;
    double m_LastStepMs = 0.0;
    // Counts steps since the simulation object was made (never reset by Start): the grid is
    // rebuilt before every third step.
    uint64_t m_StepCounter = 0;
};
}

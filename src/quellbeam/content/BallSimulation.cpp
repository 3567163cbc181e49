#include "quellbeam/content/BallSimulation.h"

#include <algorithm>
#include <cmath>

namespace quellbeam
{
namespace
{
constexpr float kFloorY = -0.9f;
constexpr float kCubeHalf = 0.3f;
constexpr float kLatticeStart = -0.25f;
constexpr float kLatticeEnd = 0.25f;
constexpr float kLatticeSpacing = 0.06f;
constexpr float kLatticeJitter = 0.01f;
constexpr float kLatticeMass = 0.4f;
constexpr float kLatticeRadius = 0.019f;
constexpr float kHeavyMass = 0.8f;
constexpr float kHeavyRadius = 0.04f;

// Neighbour cells paired with a home cell: with the home cell's own pairs they cover every
// pair of touching cells (cells differing only in z are visited from both sides).
constexpr int kNeighbourOffsets[14][3] = {
    {1, 0, 0}, {1, 1, 0},  {0, 1, 0},  {-1, 1, 0}, {0, 0, 1},  {1, 0, 1},  {1, 1, 1},
    {0, 1, 1}, {-1, 1, 1}, {0, 0, -1}, {1, 0, -1}, {1, 1, -1}, {0, 1, -1}, {-1, 1, -1},
};

float UnitDraw(CRandom15& random)
{
    return static_cast<float>(random.Next()) / CRandom15::kMax;
}

SBall MakeBall(float x, float y, float z, float mass, float radius)
{
    SBall ball = {};
    ball.position[0] = x;
    ball.position[1] = y;
    ball.position[2] = z;
    ball.mass = mass;
    ball.radius = radius;
    return ball;
}
}

void CBallSimulation::Start(int configuration, CRandom15& random)
{
    m_Balls.clear();
    m_Grid.clear();
    m_Configuration = configuration;
    m_Acceleration[0] = 0.0f;
    m_Acceleration[1] = -3.0f;
    m_Acceleration[2] = 0.0f;
    m_WallStiffness = 1950.0f;
    m_ContactStiffness = 1300.0f;
    m_ContactDamping = 20.0f;
    m_StepConstant = 0.006f;
    m_Resolution = 30;
    m_Drag = 0.1f;
    m_Contact = 0;
    m_ClockStarted = false;
    m_Grid.resize(static_cast<size_t>(m_Resolution) * m_Resolution * m_Resolution);
    CreateLattice(random);
    // A heavier ball in a gap at the middle of the lattice; it pushes its neighbours apart.
    SBall heavy = MakeBall(0.02f, 0.02f, 0.02f, kHeavyMass, kHeavyRadius);
    heavy.colour[0] = 0.9f;
    heavy.colour[1] = 0.5f;
    heavy.colour[2] = 0.2f;
    m_Balls.push_back(heavy);
}

void CBallSimulation::CreateLattice(CRandom15& random)
{
    for (float x = kLatticeStart; x < kLatticeEnd; x += kLatticeSpacing)
        for (float y = kLatticeStart; y < kLatticeEnd; y += kLatticeSpacing)
            for (float z = kLatticeStart; z < kLatticeEnd; z += kLatticeSpacing)
            {
                const float jx = kLatticeJitter * UnitDraw(random);
                const float jy = kLatticeJitter * UnitDraw(random);
                const float jz = kLatticeJitter * UnitDraw(random);
                SBall ball = MakeBall(x + jx, y + jy, z + jz, kLatticeMass, kLatticeRadius);
                random.Next(); // drawn and discarded
                const float grey = 0.3f + 0.4f * UnitDraw(random);
                ball.colour[0] = ball.colour[1] = ball.colour[2] = grey;
                m_Balls.push_back(ball);
            }
}

void CBallSimulation::SetAcceleration(const float* acceleration)
{
    for (int axis = 0; axis < 3; ++axis)
        m_Acceleration[axis] = acceleration[axis];
}

void CBallSimulation::Advance(double clockMs)
{
    if (!m_ClockStarted)
    {
        m_ClockStarted = true;
        m_LastStepMs = clockMs;
        return;
    }
    const double due = std::floor((clockMs - m_LastStepMs) / kStepMs);
    for (double step = 0; step < due; ++step)
    {
        if (m_StepCounter % 3 == 0)
            RebuildGrid();
        ++m_StepCounter;
        Step();
        m_LastStepMs += kStepMs;
    }
}

uint32_t CBallSimulation::CellIndex(const float* position) const
{
    const float cellEdge = 2.0f / static_cast<float>(m_Resolution);
    uint32_t index = 0;
    for (int axis = 2; axis >= 0; --axis)
    {
        const int cell =
            std::clamp(static_cast<int>(std::floor((position[axis] + 1.0f) / cellEdge)), 0, m_Resolution - 1);
        index = index * static_cast<uint32_t>(m_Resolution) + static_cast<uint32_t>(cell);
    }
    return index;
}

void CBallSimulation::RebuildGrid()
{
    for (std::vector<uint32_t>& cell : m_Grid)
        cell.clear();
    if (m_Grid.empty())
        return;
    for (uint32_t i = 0; i < m_Balls.size(); ++i)
        m_Grid[CellIndex(m_Balls[i].position)].push_back(i);
}

void CBallSimulation::AddWallForces(SBall& ball) const
{
    const float r = ball.radius;
    const float bottom = ball.position[1] - r;
    if (bottom < kFloorY)
        ball.force[1] += -(bottom - kFloorY) * m_WallStiffness;
    for (int axis = 0; axis < 3; ++axis)
    {
        const float low = ball.position[axis] - r;
        const float high = ball.position[axis] + r;
        if (low < -kCubeHalf)
            ball.force[axis] += -(low + kCubeHalf) * m_WallStiffness;
        if (high > kCubeHalf)
            ball.force[axis] += -(high - kCubeHalf) * m_WallStiffness;
    }
}

void CBallSimulation::AddContact(SBall& a, SBall& b)
{
    float delta[3];
    float distanceSquared = 0.0f;
    for (int axis = 0; axis < 3; ++axis)
    {
        delta[axis] = a.position[axis] - b.position[axis];
        distanceSquared += delta[axis] * delta[axis];
    }
    const float distance = std::sqrt(distanceSquared);
    const float overlap = a.radius + b.radius - distance;
    if (overlap <= 0.0f || distance <= 0.0f)
        return;
    m_Contact = 1;
    float closing = 0.0f;
    for (int axis = 0; axis < 3; ++axis)
        closing += (a.velocity[axis] - b.velocity[axis]) * delta[axis] / distance;
    const float push = m_ContactStiffness * overlap - m_ContactDamping * closing;
    for (int axis = 0; axis < 3; ++axis)
    {
        const float f = push * delta[axis] / distance;
        a.force[axis] += f;
        b.force[axis] -= f;
    }
}

void CBallSimulation::AddContactForces()
{
    const int n = m_Resolution;
    if (m_Grid.empty())
        return;
    for (int z = 0; z < n; ++z)
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x)
            {
                const std::vector<uint32_t>& home = m_Grid[(static_cast<size_t>(z) * n + y) * n + x];
                if (home.empty())
                    continue;
                for (size_t i = 0; i < home.size(); ++i)
                    for (size_t j = i + 1; j < home.size(); ++j)
                        AddContact(m_Balls[home[i]], m_Balls[home[j]]);
                for (const int* offset : kNeighbourOffsets)
                {
                    const int nx = x + offset[0], ny = y + offset[1], nz = z + offset[2];
                    if (nx < 0 || ny < 0 || nz < 0 || nx >= n || ny >= n || nz >= n)
                        continue;
                    for (uint32_t a : home)
                        for (uint32_t b : m_Grid[(static_cast<size_t>(nz) * n + ny) * n + nx])
                            AddContact(m_Balls[a], m_Balls[b]);
                }
            }
}

void CBallSimulation::Step()
{
    const float dt = m_StepConstant * 0.5f;
    for (SBall& ball : m_Balls)
    {
        for (int axis = 0; axis < 3; ++axis)
            ball.force[axis] = ball.mass * m_Acceleration[axis];
        AddWallForces(ball);
    }
    AddContactForces();
    for (SBall& ball : m_Balls)
    {
        const float* v = ball.velocity;
        const float speed = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (speed > 0.0f)
            for (int axis = 0; axis < 3; ++axis)
                ball.force[axis] -= m_Drag * speed * v[axis];
        for (int axis = 0; axis < 3; ++axis)
        {
            ball.velocity[axis] += ball.force[axis] * (dt / ball.mass);
            ball.position[axis] += ball.velocity[axis] * dt;
        }
    }
}
}

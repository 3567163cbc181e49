// A two-dimensional wind tunnel: a D2Q9 lattice Boltzmann flow on a grid of cells read from a
// cell file, driven by a constant force, with tracer particles that drift in it. Cell flags:
// 1 fluid, 2 solid (bounce-back; particles may not enter); any other value only streams into
// fluid neighbours. The grid wraps in both directions.
//
// Layout: plain arrays indexed by column, then row, then direction (cell c = x * NY + y,
// distribution k of c at c * 9 + k). Particles live in x over [0, aspect], y over [0, 1].
//
// Step is single-threaded; the car scene runs it on one worker while the main thread reads
// nothing of it. Random draws come from the generator given at construction, which nothing
// else may draw from while a step runs.
#pragma once

#include "brovell/windtunnel/CellFile.h"
#include "platform/Random15.h"

#include <cstdint>
#include <string>
#include <vector>

class CWindTunnel
{
public:
    static constexpr int32_t kParticleCount = 20000;
    static constexpr int kDirections = 9;
    // Respawn tries per particle and step before it goes back where it was (a grid with no
    // open cell where the rules respawn would otherwise hang the step).
    static constexpr int kMaxRespawnTries = 1000;

    static constexpr int32_t kEx[kDirections] = {0, 1, 0, -1, 0, 1, -1, -1, 1};
    static constexpr int32_t kEy[kDirections] = {0, 0, 1, 0, -1, 1, 1, -1, -1};
    static constexpr int32_t kOpposite[kDirections] = {0, 3, 4, 1, 2, 7, 8, 5, 6};
    static constexpr float kWeights[kDirections] = {4.0f / 9,  1.0f / 9,  1.0f / 9,  1.0f / 9, 1.0f / 9,
                                                    1.0f / 36, 1.0f / 36, 1.0f / 36, 1.0f / 36};

    explicit CWindTunnel(CRandom15& random);

    // Reads the cell file, sets every distribution to rest at density 1 and seeds the
    // particles. False with the message (naming the file) when the file cannot be used.
    bool Setup(const std::string& cellFilePath, std::string& outError);
    // The same from cells already read.
    void Setup(SCellGrid cells);

    // One step of the flow and the particles at time t (the time step is t minus the
    // previous step's t, kept when they are equal).
    void Step(float time);

    // The flow's part of a step: collision and streaming, after which the buffer streamed
    // into is the one the next collision works on.
    void StepFlow();
    // Moves every particle by length times the flow's velocity at its place (bilinear) and
    // respawns those that leave the grid or enter a solid cell.
    void Advect(float length);

    int32_t GetWidth() const { return m_Width; }
    int32_t GetHeight() const { return m_Height; }
    int32_t GetStepCount() const { return m_StepCount; }
    float GetTimeStep() const { return m_TimeStep; }
    int32_t CellIndex(int32_t x, int32_t y) const { return x * m_Height + y; }

    void SetRespawnMode(int32_t mode) { m_RespawnMode = mode; }
    int32_t GetRespawnMode() const { return m_RespawnMode; }
    void SetForce(float fx, float fy)
    {
        m_ForceX = fx;
        m_ForceY = fy;
    }

    // The distributions that the next collision works on (those streamed into last).
    float* GetDistributions() { return m_Distributions[1 - m_Current].data(); }
    const float* GetDistributions() const { return m_Distributions[1 - m_Current].data(); }
    const std::vector<int32_t>& GetFlags() const { return m_Flags; }
    std::vector<float>& GetVelocityX() { return m_VelocityX; }
    std::vector<float>& GetVelocityY() { return m_VelocityY; }
    std::vector<float>& GetParticlesX() { return m_ParticlesX; }
    std::vector<float>& GetParticlesY() { return m_ParticlesY; }
    const std::vector<float>& GetParticlesX() const { return m_ParticlesX; }
    const std::vector<float>& GetParticlesY() const { return m_ParticlesY; }
    float GetAspect() const { return m_Aspect; }

private:
    // Collision of the buffer streamed into last and streaming into the other in one pass
    // over the columns: each column is collided and its distributions sent on at once, which
    // gives what a collision pass followed by a streaming pass gives.
    void CollideAndStream();
    // True when a particle at (x, y) must be respawned: off the grid or in a solid cell.
    bool IsBlocked(float x, float y) const;
    void Respawn(float& x, float& y);
    void SeedParticles();
    void FindPlainCells();

    CRandom15& m_Random;
    int32_t m_RespawnMode = 0; // 0: in the inlet streams, 1: anywhere
    float m_Aspect = 1.0f;
    int32_t m_StepCount = 0;
    float m_Time = 0.0f;
    float m_PreviousTime = 0.0f;
    float m_TimeStep = 0.0f;
    int32_t m_Width = 0;
    int32_t m_Height = 0;
    int m_Current = 0;
    std::vector<float> m_Distributions[2];
    std::vector<int32_t> m_Flags;
    // 1 where a cell and all its neighbours stream plainly (fluid among non-solid cells) and
    // every distribution of it is written by the streaming: the fused pass takes its fast path
    // and need not keep the collided values in the source buffer.
    std::vector<uint8_t> m_Plain;
    std::vector<float> m_Column; // one column's distributions, direction by direction
    std::vector<float> m_VelocityX;
    std::vector<float> m_VelocityY;
    std::vector<float> m_ParticlesX;
    std::vector<float> m_ParticlesY;
    float m_ForceX = 0.00004f;
    float m_ForceY = 0.0f;
    float m_Omega = 1.3f;
};

#include "brovell/windtunnel/WindTunnel.h"

#include <cmath>
#include <cstring>

namespace
{
// Inlet streams of respawn mode 0 and the jet that takes a few of every respawn.
constexpr float kJetChance = 0.02f;
constexpr float kJetColumn = 115.0f;
constexpr float kJetSize = 5.0f;
constexpr int kInletStreams = 9;
constexpr float kInletTop = 0.25f;
constexpr float kInletSpacing = 0.03888889f;
}

CWindTunnel::CWindTunnel(CRandom15& random)
    : m_Random(random)
    , m_ParticlesX(kParticleCount)
    , m_ParticlesY(kParticleCount)
{
}

bool CWindTunnel::Setup(const std::string& cellFilePath, std::string& outError)
{
    SCellGrid cells;
    if (!ReadCellFile(cellFilePath, cells, outError))
        return false;
    Setup(std::move(cells));
    return true;
}

void CWindTunnel::Setup(SCellGrid cells)
{
    m_Width = cells.m_Width;
    m_Height = cells.m_Height;
    m_Flags = std::move(cells.m_Flags);
    const size_t cellCount = static_cast<size_t>(m_Width) * m_Height;
    // Density 1 at rest in both buffers.
    for (std::vector<float>& buffer : m_Distributions)
    {
        buffer.resize(cellCount * kDirections);
        for (size_t cell = 0; cell < cellCount; ++cell)
            std::memcpy(&buffer[cell * kDirections], kWeights, sizeof(kWeights));
    }
    m_VelocityX.assign(cellCount, 0.0f);
    m_VelocityY.assign(cellCount, 0.0f);
    m_Column.assign(static_cast<size_t>(m_Height) * kDirections, 0.0f);
    FindPlainCells();
    SeedParticles();
}

void CWindTunnel::Step(float time)
{
    m_PreviousTime = m_Time;
    m_Time = time;
    if (m_Time != m_PreviousTime)
        m_TimeStep = m_Time - m_PreviousTime;
    StepFlow();
    Advect(m_TimeStep * 0.05f);
    ++m_StepCount;
}

void CWindTunnel::StepFlow()
{
    CollideAndStream();
    m_Current = 1 - m_Current;
}

namespace
{
// One distribution relaxed towards its equilibrium.
inline float Relax(float f, float weight, float eu, float omega, float rho, float speedSquared)
{
    return omega * weight * rho * (1.0f + 3.0f * eu + 4.5f * eu * eu - 1.5f * speedSquared) +
           (1.0f - omega) * f;
}

// Collision of count cells held direction by direction (f[k * count + y]), in place, with
// the velocity of every cell whose density is not zero stored into ux and uy. A cell without
// mass keeps its stored velocity and collides at rest. With kAllDense (no cell without
// mass) the loop has no branch and runs over several cells at once.
template <bool kAllDense>
inline void CollideCells(float* f, int32_t count, float* ux, float* uy, float omega, float forceX,
                         float forceY)
{
    float* f0 = f;
    float* f1 = f + count;
    float* f2 = f + 2 * count;
    float* f3 = f + 3 * count;
    float* f4 = f + 4 * count;
    float* f5 = f + 5 * count;
    float* f6 = f + 6 * count;
    float* f7 = f + 7 * count;
    float* f8 = f + 8 * count;
    constexpr float w0 = CWindTunnel::kWeights[0];
    constexpr float w1 = CWindTunnel::kWeights[1];
    constexpr float w5 = CWindTunnel::kWeights[5];
    // Each cell is read and written at its own place only: the nine rows never overlap.
#pragma GCC ivdep
    for (int32_t y = 0; y < count; ++y)
    {
        const float rho = f0[y] + f1[y] + f2[y] + f3[y] + f4[y] + f5[y] + f6[y] + f7[y] + f8[y];
        float u = 0.0f;
        float v = 0.0f;
        if (kAllDense || rho != 0.0f)
        {
            u = (f1[y] - f3[y] + f5[y] - f6[y] - f7[y] + f8[y]) / rho;
            v = (f2[y] - f4[y] + f5[y] + f6[y] - f7[y] - f8[y]) / rho;
            ux[y] = u;
            uy[y] = v;
        }
        u += 0.5f * forceX;
        v += 0.5f * forceY;
        const float speedSquared = u * u + v * v;
        // eu of each direction: 0, u, v, -u, -v, u + v, -u + v, -u - v, u - v.
        f0[y] = Relax(f0[y], w0, 0.0f, omega, rho, speedSquared);
        f1[y] = Relax(f1[y], w1, u, omega, rho, speedSquared);
        f2[y] = Relax(f2[y], w1, v, omega, rho, speedSquared);
        f3[y] = Relax(f3[y], w1, -u, omega, rho, speedSquared);
        f4[y] = Relax(f4[y], w1, -v, omega, rho, speedSquared);
        f5[y] = Relax(f5[y], w5, u + v, omega, rho, speedSquared);
        f6[y] = Relax(f6[y], w5, -u + v, omega, rho, speedSquared);
        f7[y] = Relax(f7[y], w5, -u - v, omega, rho, speedSquared);
        f8[y] = Relax(f8[y], w5, u - v, omega, rho, speedSquared);
    }
}

// The common case, built twice: for AVX2 and for any x86-64. The choice is made in plain
// code rather than by the loader, where a sanitizer's run time is not ready yet.
__attribute__((target("avx2"))) void CollideDenseCellsAvx2(float* f, int32_t count, float* ux, float* uy,
                                                           float omega, float forceX, float forceY)
{
    CollideCells<true>(f, count, ux, uy, omega, forceX, forceY);
}

void CollideDenseCells(float* f, int32_t count, float* ux, float* uy, float omega, float forceX, float forceY)
{
    static const bool s_HasAvx2 = __builtin_cpu_supports("avx2");
    if (s_HasAvx2)
        CollideDenseCellsAvx2(f, count, ux, uy, omega, forceX, forceY);
    else
        CollideCells<true>(f, count, ux, uy, omega, forceX, forceY);
}

int32_t CountEmptyCells(const float* f, int32_t count)
{
    int32_t empty = 0;
    for (int32_t y = 0; y < count; ++y)
    {
        float rho = f[y];
        for (int k = 1; k < CWindTunnel::kDirections; ++k)
            rho += f[k * count + y];
        empty += rho == 0.0f;
    }
    return empty;
}

// The collision of a column, on the fast path unless a cell of it has no mass.
void CollideColumn(float* f, int32_t count, float* ux, float* uy, float omega, float forceX, float forceY)
{
    if (CountEmptyCells(f, count) == 0)
        CollideDenseCells(f, count, ux, uy, omega, forceX, forceY);
    else
        CollideCells<false>(f, count, ux, uy, omega, forceX, forceY);
}
}

void CWindTunnel::CollideAndStream()
{
    float* source = m_Distributions[1 - m_Current].data();
    float* target = m_Distributions[m_Current].data();
    const int32_t* flags = m_Flags.data();
    const int32_t nx = m_Width;
    const int32_t ny = m_Height;
    float* column = m_Column.data();
    for (int32_t x = 0; x < nx; ++x)
    {
        const int32_t here = x * ny;
        const int32_t left = (x == 0 ? nx - 1 : x - 1) * ny;
        const int32_t right = (x == nx - 1 ? 0 : x + 1) * ny;
        // The column's cells lie one after the other: turn them direction by direction,
        // collide them all, and send each cell's distributions on.
        const float* cells = source + here * kDirections;
        for (int32_t y = 0; y < ny; ++y)
            for (int k = 0; k < kDirections; ++k)
                column[k * ny + y] = cells[y * kDirections + k];
        CollideColumn(column, ny, &m_VelocityX[here], &m_VelocityY[here], m_Omega, m_ForceX, m_ForceY);
        for (int32_t y = 0; y < ny; ++y)
        {
            const int32_t down = y == 0 ? ny - 1 : y - 1;
            const int32_t up = y == ny - 1 ? 0 : y + 1;
            const int32_t cell = here + y;
            // The neighbour in each direction, wrapped.
            const int32_t neighbours[kDirections] = {cell,      right + y,   here + up,
                                                     left + y,  here + down, right + up,
                                                     left + up, left + down, right + down};
            float f[kDirections];
            for (int k = 0; k < kDirections; ++k)
                f[k] = column[k * ny + y];
            if (m_Plain[cell])
            {
                for (int k = 0; k < kDirections; ++k)
                    target[neighbours[k] * kDirections + k] = f[k];
                continue;
            }
            // Distributions that no neighbour streams into stay as collided.
            std::memcpy(source + cell * kDirections, f, sizeof(f));
            const int32_t flag = flags[cell];
            for (int k = 0; k < kDirections; ++k)
            {
                const int32_t neighbour = neighbours[k];
                const int32_t neighbourFlag = flags[neighbour];
                if ((flag & 1) == 0)
                {
                    if ((neighbourFlag & 1) != 0)
                        target[neighbour * kDirections + k] = f[k];
                }
                else if ((neighbourFlag & 2) != 0)
                    target[neighbour * kDirections + kOpposite[k]] = f[k];
                else
                    target[neighbour * kDirections + k] = f[k];
            }
        }
    }
}

void CWindTunnel::FindPlainCells()
{
    // A fluid cell that is not also marked solid gets every distribution streamed into it;
    // with no solid neighbour it streams each of its own straight on.
    m_Plain.assign(m_Flags.size(), 0);
    for (int32_t x = 0; x < m_Width; ++x)
        for (int32_t y = 0; y < m_Height; ++y)
        {
            bool plain = (m_Flags[CellIndex(x, y)] & 3) == 1;
            for (int k = 1; k < kDirections && plain; ++k)
            {
                const int32_t nx = (x + kEx[k] + m_Width) % m_Width;
                const int32_t ny = (y + kEy[k] + m_Height) % m_Height;
                plain = (m_Flags[CellIndex(nx, ny)] & 2) == 0;
            }
            m_Plain[CellIndex(x, y)] = plain ? 1 : 0;
        }
}

void CWindTunnel::Advect(float length)
{
    const float scaleX = static_cast<float>(m_Width - 1);
    const float scaleY = static_cast<float>(m_Height - 1);
    const float lastI = static_cast<float>(m_Width - 2);
    const float lastJ = static_cast<float>(m_Height - 2);
    const float* ux = m_VelocityX.data();
    const float* uy = m_VelocityY.data();
    for (int32_t p = 0; p < kParticleCount; ++p)
    {
        const float startX = m_ParticlesX[p];
        const float startY = m_ParticlesY[p];
        const float gx = scaleX * startX;
        const float gy = scaleY * startY;
        // Clamped before the conversion, so a position far off the grid converts safely.
        const int32_t i = static_cast<int32_t>(std::fmin(std::fmax(gx, 0.0f), lastI));
        const int32_t j = static_cast<int32_t>(std::fmin(std::fmax(gy, 0.0f), lastJ));
        const float a = gx - static_cast<float>(i);
        const float c = gy - static_cast<float>(j);
        const int32_t c00 = CellIndex(i, j);
        const int32_t c10 = CellIndex(i + 1, j);
        const float w00 = (1.0f - a) * (1.0f - c);
        const float w10 = a * (1.0f - c);
        const float w01 = (1.0f - a) * c;
        const float w11 = a * c;
        float x = startX + length * (w00 * ux[c00] + w10 * ux[c10] + w01 * ux[c00 + 1] + w11 * ux[c10 + 1]);
        float y = startY + length * (w00 * uy[c00] + w10 * uy[c10] + w01 * uy[c00 + 1] + w11 * uy[c10 + 1]);
        for (int tries = 0; IsBlocked(x, y); ++tries)
        {
            if (tries == kMaxRespawnTries)
            {
                x = startX;
                y = startY;
                break;
            }
            Respawn(x, y);
        }
        m_ParticlesX[p] = x;
        m_ParticlesY[p] = y;
    }
}

bool CWindTunnel::IsBlocked(float x, float y) const
{
    // Truncation puts (-1, NX) on the columns 0 to NX - 1; NaN is off the grid too.
    const float gx = static_cast<float>(m_Width - 1) * x;
    const float gy = static_cast<float>(m_Height - 1) * y;
    if (!(gx > -1.0f && gx < static_cast<float>(m_Width) && gy > -1.0f && gy < static_cast<float>(m_Height)))
        return true;
    return m_Flags[CellIndex(static_cast<int32_t>(gx), static_cast<int32_t>(gy))] == 2;
}

void CWindTunnel::Respawn(float& x, float& y)
{
    auto unit = [this] { return static_cast<float>(m_Random.Next()) / 32767.0f; };
    const float width = static_cast<float>(m_Width);
    const float height = static_cast<float>(m_Height);
    if (unit() <= kJetChance)
    {
        const float r1 = unit();
        const float r2 = unit();
        x = (kJetColumn + kJetSize * r1) / width;
        y = (0.5f * height + kJetSize * r2) / height;
    }
    else if (m_RespawnMode == 0)
    {
        const int stream = static_cast<int>(std::floor(static_cast<float>(kInletStreams) * unit()));
        const float r1 = unit();
        const float r2 = unit();
        const float r3 = unit();
        x = 0.001f * r1 + 0.004f * r2;
        y = kInletTop + static_cast<float>(stream) * kInletSpacing + 0.003f * r3;
    }
    else
    {
        x = unit();
        y = unit();
    }
}

void CWindTunnel::SeedParticles()
{
    auto unit = [this] { return static_cast<float>(m_Random.Next()) / 32767.0f; };
    for (int32_t p = 0; p < kParticleCount; ++p)
    {
        float x = 0.0f;
        float y = 0.0f;
        for (int tries = 0; tries < kMaxRespawnTries; ++tries)
        {
            x = unit();
            y = unit();
            const int32_t cx = static_cast<int32_t>(x * static_cast<float>(m_Width));
            const int32_t cy = static_cast<int32_t>(y * static_cast<float>(m_Height));
            const bool inside = 0 < cx && cx < m_Width && 0 < cy && cy < m_Height;
            if (!inside || m_Flags[CellIndex(cx, cy)] == 1)
                break;
        }
        m_ParticlesX[p] = x * m_Aspect;
        m_ParticlesY[p] = y;
    }
}

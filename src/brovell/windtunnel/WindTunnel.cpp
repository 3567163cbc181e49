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

void CWindTunnel::CollideCell(float* f, int32_t cell)
{
    const float rho = f[0] + f[1] + f[2] + f[3] + f[4] + f[5] + f[6] + f[7] + f[8];
    float u = 0.0f;
    float v = 0.0f;
    if (rho != 0.0f)
    {
        u = (f[1] - f[3] + f[5] - f[6] - f[7] + f[8]) / rho;
        v = (f[2] - f[4] + f[5] + f[6] - f[7] - f[8]) / rho;
        m_VelocityX[cell] = u;
        m_VelocityY[cell] = v;
    }
    u += 0.5f * m_ForceX;
    v += 0.5f * m_ForceY;
    const float speedSquared = u * u + v * v;
    for (int k = 0; k < kDirections; ++k)
    {
        const float eu = static_cast<float>(kEx[k]) * u + static_cast<float>(kEy[k]) * v;
        f[k] = m_Omega * kWeights[k] * rho * (1.0f + 3.0f * eu + 4.5f * eu * eu - 1.5f * speedSquared) +
               (1.0f - m_Omega) * f[k];
    }
}

void CWindTunnel::CollideAndStream()
{
    float* source = m_Distributions[1 - m_Current].data();
    float* target = m_Distributions[m_Current].data();
    const int32_t* flags = m_Flags.data();
    const int32_t nx = m_Width;
    const int32_t ny = m_Height;
    for (int32_t x = 0; x < nx; ++x)
    {
        const int32_t here = x * ny;
        const int32_t left = (x == 0 ? nx - 1 : x - 1) * ny;
        const int32_t right = (x == nx - 1 ? 0 : x + 1) * ny;
        for (int32_t y = 0; y < ny; ++y)
        {
            const int32_t down = y == 0 ? ny - 1 : y - 1;
            const int32_t up = y == ny - 1 ? 0 : y + 1;
            const int32_t cell = here + y;
            // The neighbour in each direction, wrapped.
            const int32_t neighbours[kDirections] = {cell,        right + y,  here + up,  left + y,   here + down,
                                                     right + up,  left + up,  left + down, right + down};
            float f[kDirections];
            std::memcpy(f, source + cell * kDirections, sizeof(f));
            CollideCell(f, cell);
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

// One general-purpose GPU pass: the unit quad "bilboard" drawn over square float render
// targets with one technique of one effect, reading up to eight input textures. Each task
// owns its targets, which other tasks take as inputs; a run is a scene bracket of its own,
// outside the renderer's frame. Main thread only.
#pragma once

#include "kelvo/gpu/GPUObjectHandle.h"

#include <array>
#include <cstdint>
#include <string>

class IGPUEffect;
class IGPUTexture;

class CPixelTaskDesc
{
public:
    static constexpr uint32_t kMaxInputs = 8;
    static constexpr uint32_t kMaxTargets = 4;

    CPixelTaskDesc() = default;
    CPixelTaskDesc(const CPixelTaskDesc&) = delete;
    CPixelTaskDesc& operator=(const CPixelTaskDesc&) = delete;
    // Releases the render targets and the effect.
    virtual ~CPixelTaskDesc();

    // Loads the effect when its name changed; false when it cannot be had.
    bool SetEffect(const std::string& effectName, const std::string& technique, const std::string& pass);
    // count targets of size x size in format; an unchanged size, format and count keep the
    // targets (and their contents) whatever the name. A failure leaves no targets.
    bool SetRTDesc(uint32_t size, uint32_t format, const std::string& name, uint32_t count);
    // The texture read on stage (below 8); not owned, must outlive the runs.
    void SetInput(uint32_t stage, IGPUTexture* texture) { m_Inputs[stage] = texture; }
    IGPUTexture* GetOutput(uint32_t index) const { return m_Targets[index].m_Texture; }

    // Draws the pass; nothing without an effect.
    void Run();
    // Logs the first count elements of every target (reads them back: debugging only).
    void LogResult(uint32_t count);

    uint32_t GetTargetCount() const { return m_TargetCount; }
    uint32_t GetSize() const { return m_Size; }
    uint32_t GetFormat() const { return m_Format; }

private:
    struct STarget
    {
        GPUObjectHandle m_Handle;
        IGPUTexture* m_Texture = nullptr;
    };

    void ReleaseTargets();
    void ReleaseEffect();
    void BindTargetsAndInputs();
    void UnbindTargetsAndInputs();

    std::array<IGPUTexture*, kMaxInputs> m_Inputs{};
    std::array<STarget, kMaxTargets> m_Targets{};
    uint32_t m_TargetCount = 0;
    uint32_t m_Size = 0;
    uint32_t m_Format = 0;
    std::string m_Technique;
    std::string m_Pass;
    std::string m_EffectName;
    GPUObjectHandle m_EffectHandle;
    IGPUEffect* m_Effect = nullptr;
};

// Effects over the GL device: an effect file (see EffectSource.h) loaded by bare file name
// through the data registry and compiled. Each technique's "params" annotation names the
// parameters it needs; at load every one is bound to the render variable of the same name
// and the parameter's byte size, and Begin copies the bound variables into the effect before
// it runs the pass named by "r_pass" of the technique named by "r_technique". The compiled
// effect is freed with the object. Main thread only.
#pragma once

#include "kelvo/gpu/GPUEffect.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

class CGLDevice;
class CGLEffect;
class CVar;

class CEffectGL : public IGPUEffect
{
    KELVO_RTTI(CEffectGL, IGPUEffect)

public:
    // A "params" text must be shorter than this.
    static constexpr std::size_t kMaxParamsLength = 512;

    explicit CEffectGL(CGLDevice* device);
    CEffectGL(const CEffectGL&) = delete;
    CEffectGL& operator=(const CEffectGL&) = delete;
    ~CEffectGL() override;

    bool Update() override { return false; }
    bool Refresh() override { return false; }
    bool Release() override { return false; }
    uint32_t Load(const std::string& fileName) override;

    uint32_t Begin() override;
    uint32_t End() override;

    // Copies the technique's bound variables into the effect; false on a size mismatch.
    bool SetEffectParams(const std::string& technique);
    // Binds one parameter of the technique to its render variable; false when the name is
    // not a parameter of the effect.
    bool ParseRequirements(const std::string& technique, const std::string& parameter);

private:
    struct STechnique
    {
        std::vector<std::string> m_Passes;
        std::vector<std::pair<std::string, CVar*>> m_Requirements;
    };

    uint32_t ParseEffect();
    bool ParseTechnique(uint32_t index);

    CGLDevice* m_Device;
    CGLEffect* m_Effect = nullptr;
    std::map<std::string, STechnique> m_Techniques;
    std::map<std::string, uint32_t> m_Parameters;
};

// One step of a render process: binds its input textures (stages 0..7) and output render
// targets (indices 0..3), then draws. Textures are named and resolved lazily, all or
// nothing, on the first BindTextures; they stay resolved until an input name changes or the
// phase dies. Main thread only.
#pragma once

#include "kelvo/gpu/GPUObjectHandle.h"

#include <cstdint>
#include <string>
#include <vector>

class CRenderProcess;
class IGPUTexture;

class CRenderPhase
{
public:
    static constexpr uint32_t kMaxInputs = 8;
    static constexpr uint32_t kMaxOutputs = 4;
    // Bit of the flags: every named texture is resolved.
    static constexpr uint32_t kResolvedFlag = 1;

    CRenderPhase() = default;
    CRenderPhase(const CRenderPhase&) = delete;
    CRenderPhase& operator=(const CRenderPhase&) = delete;
    virtual ~CRenderPhase();

    // The phase's drawing; runs even when its textures could not be resolved.
    virtual void Run(CRenderProcess* process) = 0;

    // Names the texture of an input stage or output target; false (logged) out of range. A
    // new name on an input drops the resolved textures.
    bool SetTexture(uint32_t slot, bool isInput, const std::string& name);
    // Resolves one name and appends it; false (logged) when it cannot be had.
    bool AddTexture(const std::string& name);
    // Resolves every input, then every output name; on a failure none stays resolved.
    bool LoadTextures();
    // Resolves, then binds inputs to their stages and outputs as render targets.
    bool BindTextures();
    // Gives every resolved texture back and clears the resolved flag.
    void ReleaseTextures();

    bool IsResolved() const { return (m_Flags & kResolvedFlag) != 0; }
    const std::vector<std::string>& GetInputNames() const { return m_InputNames; }
    const std::vector<std::string>& GetOutputNames() const { return m_OutputNames; }
    // Resolved textures: inputs first, then outputs.
    const std::vector<IGPUTexture*>& GetTextures() const { return m_Textures; }

private:
    uint32_t m_Flags = 0;
    std::vector<std::string> m_InputNames;
    std::vector<std::string> m_OutputNames;
    std::vector<GPUObjectHandle> m_Handles;
    std::vector<IGPUTexture*> m_Textures;
};

// A compiled effect: the parsed file, one GL program per pass, and the current value of each
// top-level parameter as raw bytes. BeginPass applies a pass (its render states, saved
// first, its program and the parameter values); EndPass restores the states.
// Main thread only, with the context current.
#pragma once

#include "kelvo/gpu/gl/EffectSource.h"
#include "kelvo/gpu/gl/GLProgram.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CGLDevice;

class CGLEffect
{
public:
    explicit CGLEffect(CGLDevice* device);
    CGLEffect(const CGLEffect&) = delete;
    CGLEffect& operator=(const CGLEffect&) = delete;
    ~CGLEffect();

    // Parses the text and builds every pass's program; false with outError (file and line).
    bool Compile(const std::string& text, const std::string& fileName, std::string& outError);

    const SEffectSource& GetSource() const { return m_Source; }
    // Index of a parameter or technique by exact name; -1 when absent.
    int FindParameter(const std::string& name) const;
    int FindTechnique(const std::string& name) const;

    // Sets a parameter to size bytes; false for an unknown name or a size that is not the
    // parameter's.
    bool SetValue(const std::string& name, const void* data, uint32_t size);
    // Reads a parameter's bytes; empty for an unknown name.
    std::vector<uint8_t> GetValue(const std::string& name) const;

    // False when the indices name no pass or a pass is already active.
    bool BeginPass(uint32_t technique, uint32_t pass);
    // False when no pass is active.
    bool EndPass();

private:
    void UploadParameters(const CGLProgram& program) const;

    CGLDevice* m_Device;
    SEffectSource m_Source;
    std::vector<std::vector<uint8_t>> m_Values;                       // per parameter
    std::vector<std::vector<std::unique_ptr<CGLProgram>>> m_Programs; // per technique, pass
    bool m_PassActive = false;
    CGLDevice::SRenderStates m_SavedStates;
};

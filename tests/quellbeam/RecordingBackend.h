// A CPU backend that records what the host side sends it, and one that cannot start.
#pragma once

#include "quellbeam/cpu/CpuBackend.h"

#include <cstring>
#include <vector>

namespace quellbeam::test
{
struct SSceneWrite
{
    uint32_t offset;
    uint32_t bytes;
};

class CRecordingBackend final : public ITracerBackend
{
public:
    // What the device received, shared with the test after the tracer took ownership.
    struct SLog
    {
        SKernelConstants constants;
        std::vector<SSceneWrite> sceneWrites;
        int registered = 0;
    };

    // failStart: Initialize fails, as a device backend does without a device.
    CRecordingBackend(SLog* log, bool failStart)
        : m_Log(log)
        , m_FailStart(failStart)
        , m_Cpu(2)
    {
    }

    const char* GetName() const override { return m_FailStart ? "failing" : "recording CPU"; }
    const char* DescribeError(int error) const override { return m_Cpu.DescribeError(error); }
    int Initialize() override { return m_FailStart ? kBackendOutOfMemory : m_Cpu.Initialize(); }
    uint64_t GetSceneBufferAddress() const override { return m_Cpu.GetSceneBufferAddress(); }
    int RegisterTexture(ITracerTexture* texture) override
    {
        ++m_Log->registered;
        return m_Cpu.RegisterTexture(texture);
    }
    int WriteSceneData(uint32_t offset, const void* data, uint32_t bytes) override
    {
        m_Log->sceneWrites.push_back({offset, bytes});
        return m_Cpu.WriteSceneData(offset, data, bytes);
    }
    int WriteConstants(const SKernelConstants& constants, uint32_t offset, uint32_t bytes) override
    {
        std::memcpy(reinterpret_cast<char*>(&m_Log->constants) + offset,
                    reinterpret_cast<const char*>(&constants) + offset, bytes);
        return m_Cpu.WriteConstants(constants, offset, bytes);
    }
    int BindFloorTexture(ITracerTexture* texture) override { return m_Cpu.BindFloorTexture(texture); }
    int ResetFrame() override { return m_Cpu.ResetFrame(); }
    int MapOutput(ITracerTexture* output) override { return m_Cpu.MapOutput(output); }
    int UnmapOutput() override { return m_Cpu.UnmapOutput(); }
    int BuildTree(uint32_t count, uint32_t* descriptor) override
    {
        return m_Cpu.BuildTree(count, descriptor);
    }
    int TraceFrame(uint32_t count, uint32_t width, uint32_t height) override
    {
        return m_Cpu.TraceFrame(count, width, height);
    }
    SRayCounts GetRayCounts() const override { return m_Cpu.GetRayCounts(); }

private:
    SLog* m_Log;
    bool m_FailStart;
    CCpuBackend m_Cpu;
};
}

// The backend every machine has: device memory is host memory, the grid is built by
// CBallTreeBuilder, and frames are traced by the backend's own worker threads, which pull
// 128 x 8 pixel units from an atomic counter and run the shared shading code on eight pixels
// of a row at a time (TracePacketRect). Rays find their balls through the backend's own ball
// hierarchy (CBallBvh), built beside the grid every frame; both give the same hits.
#pragma once

#include "quellbeam/cpu/BallBvh.h"
#include "quellbeam/cpu/BallTreeBuilder.h"
#include "quellbeam/cpu/BvhTrace.h"
#include "quellbeam/cpu/WorkerPool.h"
#include "quellbeam/host/TracerBackend.h"

#include <atomic>
#include <memory>
#include <vector>

namespace quellbeam
{
class CCpuBackend final : public ITracerBackend
{
public:
    // threadCount 0: one worker per hardware thread.
    explicit CCpuBackend(uint32_t threadCount = 0);

    const char* GetName() const override { return "CPU"; }
    bool RunsOnHost() const override { return true; }
    const char* DescribeError(int error) const override;
    int Initialize() override;
    uint64_t GetSceneBufferAddress() const override;
    int RegisterTexture(ITracerTexture* texture) override;
    int WriteSceneData(uint32_t byteOffset, const void* data, uint32_t bytes) override;
    int WriteConstants(const SKernelConstants& constants, uint32_t byteOffset, uint32_t bytes) override;
    int BindFloorTexture(ITracerTexture* texture) override;
    int ResetFrame() override;
    int MapOutput(ITracerTexture* output) override;
    int UnmapOutput() override;
    int BuildTree(uint32_t count, uint32_t* descriptorCopy) override;
    int TraceFrame(uint32_t count, uint32_t width, uint32_t height) override;
    SRayCounts GetRayCounts() const override { return m_RayCounts; }

    // What the kernels read for `count` spheres after the last BuildTree.
    SSceneView GetSceneView(uint32_t count) const;
    // The ball query over the hierarchy of the last BuildTree.
    SBvhQuery GetBallQuery() const { return SBvhQuery{m_Bvh.View(), m_Walk}; }

private:
    // Per frame: what every worker reads and the unit counter they share.
    struct SFrameJob
    {
        SSceneView scene;
        SBvhQuery balls;
        const SKernelConstants* constants;
        SVec4* output;
        uint32_t pitch; // in four-float elements
        uint32_t width;
        uint32_t height;
        float inverseWidth;
        float inverseHeight;
        std::atomic<uint32_t> nextUnit;
        std::atomic<uint64_t> primary;
        std::atomic<uint64_t> shadow;
        std::atomic<uint64_t> bounce;
    };
    static void TraceUnits(void* job, uint32_t worker);
    // The grid on worker 0 and the hierarchy on the last worker, at the same time.
    static void BuildBoth(void* backend, uint32_t worker);

    uint32_t m_ThreadCount;
    std::unique_ptr<CWorkerPool> m_Workers;
    bool m_Initialized = false;
    std::vector<SVec4> m_SceneData;
    std::vector<uint32_t> m_TreeMemory;
    uint32_t m_Descriptor[kTreeDescriptorWords] = {};
    CBallTreeBuilder m_TreeBuilder;
    CBallBvh m_Bvh;
    SBvhTraceFunctions m_Walk = GetBvhTrace();
    uint32_t m_BuildCount = 0;
    bool m_TreeComplete = false;
    SKernelConstants m_Constants;
    std::vector<uint32_t> m_FloorTexels;
    uint32_t m_FloorWidth = 0;
    uint32_t m_FloorHeight = 0;
    ITracerTexture* m_Output = nullptr;
    SVec4* m_OutputTexels = nullptr;
    uint32_t m_OutputPitch = 0;
    SRayCounts m_RayCounts = {};
};
}

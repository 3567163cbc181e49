// The ball tracer behind GetRayTracer: scenes made only of balls over a checkered or textured
// floor, one point light and a sky gradient. It keeps the host's sphere and material lists,
// animates one of three ball scenes (juggler field, single juggler, ball simulation) on request
// of the demo (ITracer), and drives a backend that builds the ball grid and traces each frame
// into the program's output texture (IRayTracer).
//
// Threads: IRayTracer calls, UploadSpheres and SetShading come from the render thread. Update
// may run on a worker while the render thread runs the next frame's script; Update, the Start
// operations, SetTime and SetGravity take the tracer's lock. The caller never overlaps Update
// with UploadSpheres.
#pragma once

#include "platform/Section.h"
#include "quellbeam/RayTracer.h"
#include "quellbeam/content/BallSimulation.h"
#include "quellbeam/content/JugglerModel.h"
#include "quellbeam/host/JugglerField.h"
#include "quellbeam/host/Material.h"
#include "quellbeam/host/TracerBackend.h"
#include "quellbeam/kernel/TreeLayout.h"

#include <memory>
#include <set>
#include <vector>

namespace quellbeam
{
// Makes the preferred backend (the device's when one is available), or the CPU one.
using BackendFactory = std::unique_ptr<ITracerBackend> (*)();

enum class ESceneMode : int32_t
{
    None = 0,
    JugglerField = 1,
    SingleJuggler = 2,
    BallSimulation = 3,
};

class CGeomTracer : public IRayTracer, public ITracer, public CSection
{
public:
    explicit CGeomTracer(BackendFactory preferred, BackendFactory fallback);
    virtual ~CGeomTracer();

    // IRayTracer
    void Trace() override;
    void SetView(const SViewBlock* view) override;
    bool SetScreenSize(uint32_t width, uint32_t height) override;
    void Prepare() override;
    void Finish() override;
    void SetUntransformedData(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) override {}
    void Reserved() override {}
    void SetTransforms(uint32_t, uint32_t) override {}
    void SetObjects(uint32_t, uint32_t, uint32_t, uint32_t) override {}
    void SetGLData(ITracerTexture* output, ITracerTexture* input) override;
    void SetTexture(ITracerTexture* texture) override;
    bool TracesOnHost() const override { return m_Backend != nullptr && m_Backend->RunsOnHost(); }

    // ITracer
    void Update() override;
    void UploadSpheres() override;
    void SetShading(bool floorTextured, const float* colourA, const float* colourB,
                    const float* light) override;
    void StartBallSimulation(int configuration) override;
    void StartSingleJuggler() override;
    void StartJugglerField() override;
    void SetTime(float seconds) override;
    void SetGravity(const float* acceleration) override;

    // State for inspection by tests and the benchmark.
    ESceneMode GetMode() const { return m_Mode; }
    bool IsReady() const { return m_Backend != nullptr; }
    ITracerBackend* GetBackend() const { return m_Backend.get(); }
    const std::vector<SVec4>& GetSpheres() const { return m_Spheres; }
    const std::vector<SMaterial>& GetMaterials() const { return m_Materials; }
    const std::vector<SJugglerInstance>& GetInstances() const { return m_Instances; }
    const SKernelConstants& GetConstants() const { return m_Constants; }
    const uint32_t* GetTreeCopy() const { return m_TreeCopy; }
    const CBallSimulation& GetBallSimulation() const { return m_BallSimulation; }

private:
    void Initialize();
    void BuildSphereList();
    void SetTreeBox(float minimum, float maximum);
    // Reflectance, diffuse weight and w6 of both floor materials.
    void WriteFloorMaterialPart(float reflectance, float diffuse, float w6);
    // Copies one field of the constant block to the backend (when it is running).
    int UploadConstant(const void* field, uint32_t bytes);

    BackendFactory m_PreferredBackend;
    BackendFactory m_FallbackBackend;
    std::unique_ptr<ITracerBackend> m_Backend;

    ESceneMode m_Mode = ESceneMode::None;
    float m_SceneClock = 0.0f;
    std::vector<SJugglerInstance> m_Instances;
    CJugglerModel m_JugglerModel;
    CBallSimulation m_BallSimulation;

    SKernelConstants m_Constants;
    bool m_FloorTexturedSent = false;
    std::set<ITracerTexture*> m_RegisteredTextures;
    ITracerTexture* m_FloorTexture = nullptr;
    ITracerTexture* m_Output = nullptr;
    ITracerTexture* m_Input = nullptr; // kept as handed over; the ball tracer never reads it
    bool m_OutputMapped = false;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;

    std::vector<SVec4> m_Staging;
    std::vector<SVec4> m_Spheres;
    std::vector<SMaterial> m_Materials;
    uint32_t m_TreeCopy[kTreeDescriptorWords] = {};
};
}

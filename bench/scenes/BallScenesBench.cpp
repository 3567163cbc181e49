// Frames per second of the two traced-ball scenes as the show plays them: the scene's script,
// its frame pipeline with the tracer's update on a worker, and the render process with the
// real tracer library (its CPU backend where no device is found), in a 1280 x 720 window on
// the headless GL context. Each iteration is one frame, half a second of scene time after the
// previous one, looping over the scene's window.
//   ball_scenes_bench [--benchmark_...]    run from anywhere; reads the build's data folder
#include "../../tests/kelvo/gpu/gl/GLBackendFixture.h"

#include "brovell/scenes/BallsScene.h"
#include "brovell/scenes/JugglerScene.h"
#include "brovell/tracer/KelvoRayTracer.h"
#include "brovell/tracer/RayTracerLoader.h"
#include "brovell/tracer/SceneTracer.h"
#include "kelvo/core/GameObject.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/render/GameView.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/RayTraceClient.h"
#include "kelvo/tasks/TaskManager.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/CameraLogic.h"

#include <benchmark/benchmark.h>

#include <memory>

// The program's task manager, which the scenes' default constructors name.
CTaskManager g_TaskManager(4);

namespace
{
constexpr uint32_t kWidth = 1280;
constexpr uint32_t kHeight = 720;
constexpr float kStep = 0.5f;

// The game as the render phases see it: a camera rig that the scene's camera matrix places.
class CBenchView final : public IGameView
{
public:
    CBenchView()
    {
        m_Place = m_Camera.AddLogic<C3DObjectLogic>();
        m_Camera.AddLogic<CCameraLogic>()->UpdateProjection(static_cast<float>(kHeight) / kWidth);
        g_pGameView = this;
    }
    ~CBenchView()
    {
        g_pGameView = nullptr;
        for (CObjectLogicBase* logic : m_Camera.GetLogics())
            delete logic;
    }

    void Render() override {}
    CGameObject* GetCameraObject() const override { return const_cast<CGameObject*>(&m_Camera); }
    void Place(const SMatrix& world)
    {
        STransformState state = m_Place->GetTransformState();
        state.world = world;
        m_Place->SetTransformState(state);
    }

private:
    CGameObject m_Camera;
    C3DObjectLogic* m_Place;
};

template <class TScene>
void PlayScene(benchmark::State& state, float length)
{
    CGLTestContext context;
    std::string error;
    if (!context.Create(kWidth, kHeight, error))
    {
        state.SkipWithError(("no GL context: " + error).c_str());
        return;
    }
    IRayTracer* library = LoadRayTracer(QUELLBEAM_DIR, "libquellbeam.so");
    ITracer* sceneTracer = ToSceneTracer(library);
    if (sceneTracer == nullptr)
    {
        state.SkipWithError("no tracer library");
        return;
    }
    CTestWindow window(&context);
    window.m_ClientWidth = kWidth;
    window.m_ClientHeight = kHeight;
    static const bool scanned = (CResourceManager::Instance().ScanDirectory(BROVELL_DATA_DIR), true);
    (void)scanned;
    auto* backend = new CGPUImplementationGL();
    if (backend->Initialize(&window, true) != 0)
    {
        state.SkipWithError("the GL backend did not start");
        delete backend;
        return;
    }
    {
        CKelvoRenderer renderer(backend, nullptr);
        renderer.SetScreenSize(kWidth, kHeight);
        CKelvoRayTracer client(library);
        g_pKelvoRayTracer = &client;
        g_pRayTraceClient = &client;
        client.CreateRenderTargets(1920, 1080);
        CBenchView view;
        SScriptMemory memory;
        TScene scene(sceneTracer, g_TaskManager, memory);
        scene.LoadResources();
        float t = 0.0f;
        for (auto _ : state)
        {
            scene.Frame(t);
            SMatrix camera;
            scene.GetCameraMatrix(camera);
            view.Place(camera);
            renderer.RenderFrame();
            t = t + kStep < length ? t + kStep : 0.0f;
        }
        g_TaskManager.WaitGroup(nullptr, "Default");
        state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
        g_pRayTraceClient = nullptr;
        g_pKelvoRayTracer = nullptr;
        client.ReleaseTextures();
    }
    delete backend;
}

void JugglerScene(benchmark::State& state)
{
    PlayScene<CJugglerScene>(state, 175.4f - 151.43f);
}

void BallsScene(benchmark::State& state)
{
    PlayScene<CBallsScene>(state, 111.43f - 82.0f);
}
}

BENCHMARK(JugglerScene)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(48);
BENCHMARK(BallsScene)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(59);

BENCHMARK_MAIN();

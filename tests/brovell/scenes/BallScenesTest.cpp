// The traced-ball scenes' scripts as functions of time, with a tracer that records its calls
// (no GL, no library), and their frame pipeline on real worker threads.
#include "brovell/scenes/BallsScene.h"
#include "brovell/scenes/CameraKeys.h"
#include "brovell/scenes/JugglerScene.h"
#include "brovell/tracer/SceneTracer.h"

#include "../../kelvo/world/WorldTestHelpers.h"
#include "support/CaptureStderr.h"
#include "kelvo/gpu/Var.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/ClipartPhase.h"
#include "kelvo/render/PresentPhase.h"
#include "kelvo/tasks/TaskManager.h"
#include "quellbeam/RayTracer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The program's task manager, which default-constructed scenes use.
CTaskManager g_TaskManager(2);

namespace
{
// Records each call as text; Update takes a while and notes any UploadSpheres meanwhile.
class CRecordingTracer final : public ITracer
{
public:
    void Update() override
    {
        m_Updating = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        Record("Update");
        m_Updating = false;
    }
    void UploadSpheres() override
    {
        m_Overlaps += m_Updating ? 1 : 0;
        Record("UploadSpheres");
    }
    void SetShading(bool floor, const float* a, const float* b, const float* light) override
    {
        Record(Format("SetShading %d %g,%g,%g %g,%g,%g %g,%g,%g", floor, a[0], a[1], a[2], b[0], b[1], b[2],
                      light[0], light[1], light[2]));
    }
    void StartBallSimulation(int configuration) override
    {
        Record(Format("StartBallSimulation %d", configuration));
    }
    void StartSingleJuggler() override { Record("StartSingleJuggler"); }
    void StartJugglerField() override { Record("StartJugglerField"); }
    void SetTime(float seconds) override { Record(Format("SetTime %g", seconds)); }
    void SetGravity(const float* g) override
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Gravity = {g[0], g[1], g[2]};
        m_Calls.push_back("SetGravity");
    }

    // The calls so far, which are then forgotten.
    std::vector<std::string> TakeCalls()
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        std::vector<std::string> calls;
        calls.swap(m_Calls);
        return calls;
    }

    std::atomic<int> m_Overlaps{0};
    SVector3 m_Gravity;

private:
    static std::string Format(const char* format, auto... values)
    {
        char text[160];
        std::snprintf(text, sizeof(text), format, values...);
        return text;
    }
    void Record(std::string call)
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Calls.push_back(std::move(call));
    }

    std::mutex m_Mutex;
    std::vector<std::string> m_Calls;
    std::atomic<bool> m_Updating{false};
};

// A scene of type T on a recording tracer with its own task manager and script memory.
template <class T>
struct SSceneRig
{
    CRecordingTracer m_Tracer;
    CTaskManager m_Tasks{2};
    SScriptMemory m_Memory;
    T m_Scene{&m_Tracer, m_Tasks, m_Memory};

    // The calls of one frame at t, its Update included.
    std::vector<std::string> Frame(float t)
    {
        m_Scene.Frame(t);
        m_Tasks.WaitGroup(nullptr, "Default");
        return m_Tracer.TakeCalls();
    }
    SMatrix Camera() const
    {
        SMatrix camera;
        EXPECT_TRUE(m_Scene.GetCameraMatrix(camera));
        return camera;
    }
    CPresentPhase& Present() { return *m_Scene.GetProcess().GetPresentPhase(); }
};

void ExpectRotationOf(const SMatrix& camera, const SCameraKey& key, const char* name)
{
    const SMatrix expected = CameraFromKey(key);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_FLOAT_EQ(camera(row, column), expected(row, column))
                << name << " " << row << "," << column;
}

using Calls = std::vector<std::string>;
}

TEST(CameraKeys, AKeyIsTakenTransposedWithItsPositionInTheFourthRow)
{
    const SMatrix camera = CameraFromKey(kCameraB3);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(camera(row, column),
                      column < 3 ? kCameraB3.m_Rows[column][row] : (row == 3 ? 1.0f : 0.0f));
    ExpectVectorNear(GetCameraPosition(camera), {camera(3, 0), camera(3, 1), camera(3, 2)}, 0.0f);
}

TEST(JugglerScene, ScriptWindowsDriveTracerCameraOverlayAndClipart)
{
    SSceneRig<CJugglerScene> rig;
    ExpectRotationOf(rig.Camera(), kCameraJ0, "J0 at start");

    // The single juggler rises with the camera, over a green and yellow floor, under a picture.
    EXPECT_EQ(rig.Frame(0.5f), (Calls{"SetTime 0.95", "StartSingleJuggler",
                                      "SetShading 0 0,1,0 1,1,0 0,60,60", "UploadSpheres", "Update"}));
    ExpectRotationOf(rig.Camera(), kCameraJ1, "J1");
    const SVector3 j1 = GetCameraPosition(CameraFromKey(kCameraJ1));
    ExpectVectorNear(GetCameraPosition(rig.Camera()), j1 + SVector3{0.0f, 0.8f, 0.0f}, 1e-4f);
    const auto& items = rig.m_Scene.GetProcess().GetClipartPhase()->GetItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].m_ColorTexture, "design3.jpg");
    EXPECT_EQ(items[0].m_AlphaTexture, "design3-alpha.jpg");
    EXPECT_EQ(items[0].m_Rectangle.y, 0.7f);

    // At exactly a bound no window applies: camera, overlay and mode stay, shading is the default.
    rig.Frame(9.6f);
    const SMatrix before = rig.Camera();
    const float overlayBefore = rig.Present().GetOverlayAmount();
    EXPECT_EQ(rig.Frame(9.7f),
              (Calls{"SetTime 18.43", "SetShading 1 1,1,1 1,1,1 0,60,60", "UploadSpheres", "Update"}));
    ExpectMatrixNear(rig.Camera(), before, 0.0f);
    EXPECT_EQ(rig.Present().GetOverlayAmount(), overlayBefore);

    // A red flash on J2.
    rig.Frame(10.0f);
    ExpectRotationOf(rig.Camera(), kCameraJ2, "J2");
    EXPECT_EQ(rig.Present().GetOverlayColor().x, 1.0f);
    EXPECT_EQ(rig.Present().GetOverlayColor().y, 0.0f);
    EXPECT_NEAR(rig.Present().GetOverlayAmount(), 0.7f, 1e-5f);

    // The field stands still (its clock set back to 0), the camera shakes, a picture on the left.
    EXPECT_EQ(rig.Frame(15.0f), (Calls{"SetTime 28.5", "StartJugglerField", "SetTime 0",
                                       "SetShading 1 1,1,1 1,1,1 0,60,60", "UploadSpheres", "Update"}));
    float noise = 0.0f;
    ASSERT_TRUE(GetVariable("r_camera_noise", 4)->GetFloat(noise));
    EXPECT_EQ(noise, 1.0f);
    EXPECT_NEAR(rig.Present().GetOverlayAmount(), 0.65f, 1e-5f);
    EXPECT_EQ(items.back().m_ColorTexture, "design1.jpg");
    EXPECT_EQ(items.back().m_Rectangle.x, -0.3f);

    // The last window flies away at 12.23 units per second in x and 10.03 in z.
    rig.Frame(20.0f);
    const SVector3 at20 = GetCameraPosition(rig.Camera());
    rig.Frame(21.0f);
    ExpectVectorNear(GetCameraPosition(rig.Camera()) - at20, {-12.23f, 0.0f, -10.03f}, 1e-3f);
    ExpectRotationOf(rig.Camera(), kCameraJ3, "J3");
    rig.Frame(0.5f);
    ASSERT_TRUE(GetVariable("r_camera_noise", 4)->GetFloat(noise));
    EXPECT_EQ(noise, 0.0f);
}

TEST(BallsScene, GravitySwingsInItsWindowsAndTheCallsKeepTheirOrder)
{
    SSceneRig<CBallsScene> rig;
    ExpectRotationOf(rig.Camera(), kCameraB0, "B0 at start");
    const Calls first = rig.Frame(1.0f);
    char shading[64];
    std::snprintf(shading, sizeof(shading), "SetShading 1 1,1,1 1,1,1 0,%g,30", 60.0f + std::sin(1.0f));
    EXPECT_EQ(first, (Calls{shading, "StartBallSimulation 5", "SetTime 1", "UploadSpheres", "Update"}));
    EXPECT_EQ(rig.Present().GetOverlayAmount(), 0.5f);

    // (t, x of the gravity): its y is always -1.
    const float cases[][2] = {{18.0f, 3.0f * std::sin(1.0f)},
                              {20.5f, std::sin(0.8f * 3.5f)},
                              {23.0f, 3.0f * std::sin(6.0f)},
                              {30.0f, std::sin(13.0f)}};
    for (const auto& c : cases)
    {
        const Calls calls = rig.Frame(c[0]);
        ASSERT_EQ(calls.size(), 6u) << c[0];
        EXPECT_EQ(calls[3], "SetGravity") << c[0];
        ExpectVectorNear(rig.m_Tracer.m_Gravity, {c[1], -1.0f, 0.0f}, 1e-5f);
    }
    // No gravity call outside those windows; at 30 s the picture fades to black.
    EXPECT_EQ(rig.Frame(10.0f).size(), 5u);
    EXPECT_EQ(rig.Frame(20.0f).size(), 5u);
    rig.Frame(30.0f);
    EXPECT_EQ(rig.Present().GetOverlayColor().x, 0.0f);
    EXPECT_NEAR(rig.Present().GetOverlayAmount(), 0.4f, 1e-5f);
    EXPECT_TRUE(rig.m_Scene.GetProcess().GetClipartPhase()->GetItems().empty());
}

TEST(BallsScene, OnceKeysAreTakenOncePerRunEvenWhenTheSceneIsEnteredAgain)
{
    SSceneRig<CBallsScene> rig;
    const SVector3 b1 = GetCameraPosition(CameraFromKey(kCameraB1));
    rig.Frame(8.0f);
    ExpectVectorNear(GetCameraPosition(rig.Camera()), b1 + SVector3{5.0f, 0.0f, 0.0f}, 1e-4f);
    rig.Frame(16.2f);
    ExpectRotationOf(rig.Camera(), kCameraB2, "B2");
    ExpectVectorNear(GetCameraPosition(rig.Camera()), GetCameraPosition(CameraFromKey(kCameraB2)), 0.0f);

    // Entered again: the pan goes on from its first capture on B2's rotation, and B2 is not
    // taken a second time.
    rig.Frame(9.0f);
    ExpectRotationOf(rig.Camera(), kCameraB2, "no second B1");
    ExpectVectorNear(GetCameraPosition(rig.Camera()), b1 + SVector3{10.0f, 0.0f, 0.0f}, 1e-4f);
    rig.Frame(16.2f);
    ExpectVectorNear(GetCameraPosition(rig.Camera()), b1 + SVector3{10.0f, 0.0f, 0.0f}, 1e-4f);
}

TEST(BallsScene, ProgramScenesShareOneMemory)
{
    // The program's memory lasts the process: a repeated run finds its keys spent.
    static bool s_Ran = false;
    if (s_Ran)
        GTEST_SKIP() << "the program's scene memory was checked on the first run of this process";
    s_Ran = true;
    // The program's scenes look the tracer up themselves (the library may lie beside the tests).
    CBallsScene first;
    CBallsScene second;
    SMatrix camera;
    CaptureStderr([&] { first.Frame(16.2f); });
    first.GetCameraMatrix(camera);
    ExpectRotationOf(camera, kCameraB2, "first scene");
    CaptureStderr([&] { second.Frame(16.2f); });
    second.GetCameraMatrix(camera);
    ExpectRotationOf(camera, kCameraB0, "the key was spent by the first scene");
    EXPECT_NEAR(second.GetProcess().GetPresentPhase()->GetOverlayAmount(), 0.8f, 1e-5f);
    // The scenes queued their updates on the program's workers: they finish before the
    // scenes go.
    g_TaskManager.WaitGroup(nullptr, "Default");
}

TEST(JugglerScene, WithoutATracerTheScriptRunsAndNothingIsQueued)
{
    const std::string log = CaptureStderr([] { EXPECT_EQ(ToSceneTracer(nullptr), nullptr); });
    EXPECT_NE(log.find("[GetSceneTracer] No ball tracer"), std::string::npos) << log;
    CTaskManager tasks(1);
    SScriptMemory memory;
    CJugglerScene scene(nullptr, tasks, memory);
    scene.Frame(10.0f);
    SMatrix camera;
    ASSERT_TRUE(scene.GetCameraMatrix(camera));
    ExpectRotationOf(camera, kCameraJ2, "J2");
    EXPECT_NEAR(scene.GetProcess().GetPresentPhase()->GetOverlayAmount(), 0.7f, 1e-5f);
    EXPECT_FALSE(scene.IsTaskPending());
}

TEST(JugglerScene, SpheresAreNeverUploadedWhileAnUpdateRuns)
{
    SSceneRig<CJugglerScene> rig;
    for (int frame = 0; frame < 30; ++frame)
        rig.m_Scene.Frame(0.04f * static_cast<float>(frame));
    rig.m_Tasks.WaitGroup(nullptr, "Default");
    EXPECT_EQ(rig.m_Tracer.m_Overlaps.load(), 0);
    // Each frame uploads what the previous frame's update made, then queues the next update.
    std::vector<std::string> pipeline;
    for (const std::string& call : rig.m_Tracer.TakeCalls())
        if (call == "UploadSpheres" || call == "Update")
            pipeline.push_back(call);
    ASSERT_EQ(pipeline.size(), 60u);
    for (size_t i = 0; i < pipeline.size(); ++i)
        EXPECT_EQ(pipeline[i], i % 2 == 0 ? "UploadSpheres" : "Update") << i;
}

#include "kelvo/world/InputDispatcher.h"

#include <numbers>
#include <string>
#include <vector>

#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/CameraLogic.h"
#include "kelvo/world/InputTargetLogic.h"
#include "WorldTestHelpers.h"

namespace
{
std::vector<std::string> g_Calls;
CGameObject* g_Camera = nullptr;

// Records the calls it gets; consumes button-ups when told to.
class CRecordingTarget : public CInputTargetLogic
{
    KELVO_RTTI(CRecordingTarget, CInputTargetLogic)

public:
    bool OnButtonUp(const SInputEvent&) override
    {
        g_Calls.push_back(m_Name + ":up");
        return m_Consume;
    }
    bool OnKeyUp(uint32_t key) override
    {
        g_Calls.push_back(m_Name + ":key" + std::to_string(key));
        return false;
    }
    std::string m_Name;
    bool m_Consume = false;
};

CGameObject* CurrentCamera()
{
    return g_Camera;
}
}

TEST(InputDispatcher, OffersEventsInOrderUntilOneIsConsumed)
{
    g_Calls.clear();
    CInputDispatcher dispatcher(nullptr); // no camera query at all: mouse events carry no ray
    EXPECT_EQ(g_pInputDispatcher, &dispatcher);
    dispatcher.ButtonUp(0.1f, 0.2f); // nobody registered: nothing happens

    CTestObject first, second, third, plain;
    first.AddLogic<CRecordingTarget>()->m_Name = "first";
    CRecordingTarget* secondTarget = second.AddLogic<CRecordingTarget>();
    secondTarget->m_Name = "second";
    third.AddLogic<CRecordingTarget>()->m_Name = "third";
    dispatcher.Register(&first);
    dispatcher.Register(&plain); // no target: not registered
    dispatcher.Register(&second);
    dispatcher.Register(&third);

    dispatcher.ButtonUp(0.1f, 0.2f);
    dispatcher.KeyUp(65);
    EXPECT_EQ(g_Calls, (std::vector<std::string>{"first:up", "second:up", "third:up", "first:key65",
                                                 "second:key65", "third:key65"}));
    g_Calls.clear();
    secondTarget->m_Consume = true;
    dispatcher.ButtonUp(0.1f, 0.2f);
    EXPECT_EQ(g_Calls, (std::vector<std::string>{"first:up", "second:up"}));
}

TEST(InputDispatcher, MouseEventsCarryTheCursorAndTheCameraRay)
{
    CTestObject camera, receiver;
    g_Camera = nullptr;
    CInputDispatcher dispatcher(&CurrentCamera);
    CInputTargetLogic* target = receiver.AddLogic<CInputTargetLogic>();
    dispatcher.Register(&receiver);

    // Without a camera, or with one that has no transform yet, the ray stays zero.
    dispatcher.MouseMove(0.25f, 0.75f);
    EXPECT_EQ(dispatcher.GetLastCursorX(), 0.25f);
    EXPECT_EQ(dispatcher.GetLastCursorY(), 0.75f);
    EXPECT_EQ(target->GetLastMouseMove().cursorX, 0.25f);
    EXPECT_EQ(target->GetLastMouseMove().ray.length, 0.0f);
    CCameraLogic* cameraLogic = camera.AddLogic<CCameraLogic>();
    cameraLogic->UpdateProjection(1.0f);
    g_Camera = &camera;
    dispatcher.MouseMove(0.5f, 0.5f);
    EXPECT_EQ(target->GetLastMouseMove().ray.length, 0.0f);

    // The camera at (1, 2, 3), turned a quarter about y: its view (down -z) runs along -x.
    Place(camera, MatrixRotationY(std::numbers::pi_v<float> / 2) * MatrixTranslation(1, 2, 3));
    dispatcher.ButtonDown(0.5f, 0.5f);
    const SInputEvent& down = target->GetLastButtonDown();
    EXPECT_EQ(down.cursorY, 0.5f);
    EXPECT_EQ(down.ray.length, 200.0f);
    ExpectVectorNear(XYZ(down.ray.origin), {1, 2, 3});
    // Through the centre: along the view.
    ExpectVectorNear(Normalize(XYZ(down.ray.direction)), {-1, 0, 0});
    // A button-down does not change the last mouse-move.
    EXPECT_EQ(target->GetLastMouseMove().cursorX, 0.5f);

    // The top-left corner of the client area: up and to the camera's left (its -x, now +z).
    dispatcher.ButtonDown(0.0f, 0.0f);
    EXPECT_GT(down.ray.direction.y, 0.0f);
    EXPECT_GT(down.ray.direction.z, 0.0f);
    EXPECT_NEAR(down.ray.direction.y / -down.ray.direction.x, cameraLogic->GetTop() / 0.2f, 1e-5f);
}

#include "kelvo/world/BeingObjectLogic.h"

#include "WorldTestHelpers.h"
#include "platform/window/WindowMessage.h"

using namespace platform;

class Walker : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SScriptedInput::Reset();
        m_Walker = m_Object.AddLogic<CBeingObjectLogic>();
        m_Walker->SetInputQueries(SScriptedInput::Queries());
        // The walker remembers the cursor across objects: sync it with the script first.
        m_Walker->Update();
    }

    SVector3 Position() const
    {
        const SMatrix& m = m_Walker->GetTransformState().local;
        return {m.m[12], m.m[13], m.m[14]};
    }

    CTestObject m_Object;
    CBeingObjectLogic* m_Walker = nullptr;
};

TEST_F(Walker, EachArrowKeyStepsHalfAUnitPerFrameInTheWalkersOwnDirections)
{
    SScriptedInput::s_Held[VK_UP] = true;
    m_Walker->Update();
    m_Walker->Update();
    ExpectVectorNear(Position(), {0, 0, -1});
    SScriptedInput::s_Held[VK_UP] = false;
    SScriptedInput::s_Held[VK_LEFT] = true;
    m_Walker->Update();
    EXPECT_NEAR(Position().x, -0.5f, 1e-6f);
    SScriptedInput::s_Held[VK_RIGHT] = true; // left and right cancel
    m_Walker->Update();
    EXPECT_NEAR(Position().x, -0.5f, 1e-6f);
    SScriptedInput::s_Held[VK_LEFT] = SScriptedInput::s_Held[VK_RIGHT] = false;

    // Turned a quarter about y, "forward" (-z) becomes -x; the step stays 0.5 long.
    STransformState state = m_Walker->GetTransformState();
    state.local = MatrixRotationY(std::acos(0.0f)) * MatrixTranslation(0, 0, 0);
    m_Walker->SetTransformState(state);
    SScriptedInput::s_Held[VK_DOWN] = true;
    m_Walker->Update();
    ExpectVectorNear(Position(), {0.5f, 0, 0});
    // The world matrix follows within the same update.
    EXPECT_NEAR(m_Walker->GetWorldMatrix().m[12], 0.5f, 1e-5f);
}

TEST_F(Walker, MouseLookTurnsOnlyWithTheRightButtonAndNeverJumps)
{
    SScriptedInput::s_Held[VK_RBUTTON] = true;
    SScriptedInput::s_CursorX = -100; // 100 pixels to the left: yaw of +0.1 radians
    m_Walker->Update();
    ExpectMatrixNear(m_Walker->GetTransformState().local, MatrixRotationY(0.1f));

    // Released: moving the cursor far away does not turn the view...
    SScriptedInput::s_Held[VK_RBUTTON] = false;
    SScriptedInput::s_CursorX = 500;
    SScriptedInput::s_CursorY = 300;
    m_Walker->Update();
    ExpectMatrixNear(m_Walker->GetTransformState().local, MatrixRotationY(0.1f));
    // ...and pressing the button again does not turn it by the way the cursor went meanwhile.
    SScriptedInput::s_Held[VK_RBUTTON] = true;
    m_Walker->Update();
    ExpectMatrixNear(m_Walker->GetTransformState().local, MatrixRotationY(0.1f));

    // Moving up by 50 pixels pitches about the walker's own x axis, before its yaw.
    SScriptedInput::s_CursorY = 250;
    m_Walker->Update();
    ExpectMatrixNear(m_Walker->GetTransformState().local, MatrixRotationX(0.05f) * MatrixRotationY(0.1f));
}

#include "brovell/demo/Harlune1.h"
#include "brovell/scenes/Scene.h"

#include "kelvo/world/BeingObjectLogic.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// The show with its walker hand-off opened up.
class CTestHarlune1 : public CHarlune1
{
public:
    using CHarlune1::PlaceWalker;
};
}

TEST(Harlune1, EightScenesLaidEndToEndOverTwoHundredTwentySeconds)
{
    CTestHarlune1 demo;
    EXPECT_EQ(g_pHarlune1, &demo);
    const std::vector<SSceneEntry>& entries = demo.GetEntries();
    ASSERT_EQ(entries.size(), 8u);
    const char* names[] = {"Image", "Intro", "Zoom", "Balls", "Credits", "Jugglers", "Car", "End"};
    const float ends[] = {22.6f, 53.4f, 82.0f, 111.43f, 151.43f, 175.4f, 202.0f, 220.0f};
    float start = 0.0f;
    for (size_t i = 0; i < entries.size(); ++i)
    {
        EXPECT_EQ(std::string(entries[i].m_Name), names[i]);
        EXPECT_EQ(entries[i].m_TimeScale, 1.0f);
        EXPECT_EQ(entries[i].m_Start, start) << names[i];
        EXPECT_EQ(entries[i].m_End, ends[i]) << names[i];
        EXPECT_EQ(entries[i].m_Scene->GetFrameCount(), 0u);
        start = entries[i].m_End;
    }
}

TEST(Harlune1, ACameraMatrixReplacesOnlyTheWalkersLocalMatrix)
{
    CTestHarlune1 demo;
    demo.PlaceWalker(MatrixTranslation(1.0f, 2.0f, 3.0f)); // no walker yet: nothing happens

    CBeingObjectLogic walker;
    STransformState state = walker.GetTransformState();
    state.local = MatrixTranslation(0.0f, 0.0f, 100.0f);
    state.world = MatrixTranslation(9.0f, 9.0f, 9.0f);
    walker.SetTransformState(state);
    demo.SetWalker(&walker);

    const SMatrix camera = MatrixTranslation(4.0f, 5.0f, 6.0f);
    demo.PlaceWalker(camera);
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_EQ(walker.GetTransformState().local.m[i], camera.m[i]) << i;
        EXPECT_EQ(walker.GetTransformState().world.m[i], state.world.m[i]) << i;
    }
}

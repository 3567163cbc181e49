// The zoom scene's flight along its keys, without a window: the view as the script moves it.
#include "brovell/scenes/ZoomScene.h"

#include "kelvo/render/ZoomPhase.h"
#include "kelvo/render/ZoomProgress.h"

#include <gtest/gtest.h>

namespace
{
// A scene over the 2048-texel bank of 8 x 8 images, with the path back at its start.
class ZoomSceneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_ZoomProgress = SZoomProgress();
        m_Zoom->SetBankGeometry(2048);
    }

    CZoomScene m_Scene;
    CZoomPhase* m_Zoom = m_Scene.GetProcess().GetZoomPhase();
};
}

TEST_F(ZoomSceneTest, EachKeyStartsFromZeroWhereThePreviousOneArrivedAtAnyFrameRate)
{
    const std::vector<SZoomKey>& keys = m_Scene.GetKeys();
    ASSERT_EQ(keys.size(), 33u);
    for (int framesPerSecond : {10, 200})
    {
        g_ZoomProgress = SZoomProgress();
        m_Zoom->GetView() = SZoomView();
        const int framesPerKey = 3 * framesPerSecond;
        for (int frame = 0; frame <= framesPerKey * static_cast<int>(keys.size()); ++frame)
        {
            const float time = static_cast<float>(frame) / static_cast<float>(framesPerSecond);
            m_Scene.Frame(time);
            if (frame % framesPerKey != 0 || frame == framesPerKey * static_cast<int>(keys.size()))
                continue;
            const int k = frame / framesPerKey;
            SCOPED_TRACE(testing::Message() << framesPerSecond << " fps, key " << k);
            ASSERT_EQ(g_ZoomProgress.m_Key, k);
            EXPECT_EQ(g_ZoomProgress.m_LastProgress, 0.0f);
            const SZoomView& view = m_Zoom->GetView();
            EXPECT_FLOAT_EQ(view.m_Scale, keys[k].m_StartScale);
            if (k == 0)
                continue;
            // The view entered the key's image at the key's texel, which the previous key
            // was closing in on; its last frame left the rest of a slower approach.
            EXPECT_EQ(view.m_TileX, static_cast<float>(keys[k].m_Image % 8) / 8.0f);
            EXPECT_EQ(view.m_TileY, static_cast<float>(keys[k].m_Image / 8) / 8.0f);
            const float tolerance = framesPerSecond == 10 ? 1.0f : 0.1f;
            EXPECT_NEAR((view.m_PositionX - view.m_TileX) * 2048.0f, keys[k].m_X, tolerance);
            EXPECT_NEAR((view.m_PositionY - view.m_TileY) * 2048.0f, keys[k].m_Y, tolerance);
        }
    }
}

TEST_F(ZoomSceneTest, AKeyReachesItsTargetExactlyWhenItsProgressReachesOne)
{
    SZoomView& view = m_Zoom->GetView();
    view.m_TileX = 0.25f;
    view.m_TileY = 0.5f;
    const float targetX = 100.0f / 2048.0f + 0.25f + 64.0f / 2048.0f / 256.0f;
    const float targetY = 50.0f / 2048.0f + 0.5f + 192.0f / 2048.0f / 256.0f;
    for (int steps : {30, 600})
    {
        view.m_PositionX = 0.3f;
        view.m_PositionY = 0.52f;
        float last = 0.0f;
        for (int i = 1; i <= steps; ++i)
        {
            const float progress = i == steps ? 1.0f : static_cast<float>(i) / static_cast<float>(steps);
            m_Zoom->Step(100, 50, 64, 192, last, progress - last);
            last = progress;
        }
        EXPECT_FLOAT_EQ(view.m_PositionX, targetX) << steps;
        EXPECT_FLOAT_EQ(view.m_PositionY, targetY) << steps;
        // A complete key does not move any more.
        m_Zoom->Step(100, 50, 64, 192, 1.0f, 0.5f);
        EXPECT_FLOAT_EQ(view.m_PositionX, targetX);
    }
}

TEST_F(ZoomSceneTest, AfterTheLastKeyTheViewStays)
{
    m_Scene.Frame(98.9f);
    const SZoomView before = m_Zoom->GetView();
    for (float time : {99.0f, 120.0f, 300.0f})
    {
        m_Scene.Frame(time);
        EXPECT_EQ(g_ZoomProgress.m_Key, static_cast<int32_t>(time / 3.0f));
        EXPECT_EQ(m_Zoom->GetView().m_PositionX, before.m_PositionX);
        EXPECT_EQ(m_Zoom->GetView().m_PositionY, before.m_PositionY);
        EXPECT_EQ(m_Zoom->GetView().m_Scale, before.m_Scale);
    }
}

TEST_F(ZoomSceneTest, WithoutABankTheViewStaysAndNothingBreaks)
{
    m_Zoom->SetBankGeometry(0);
    m_Scene.Frame(1.0f);
    m_Scene.Frame(3.5f);
    const SZoomView& view = m_Zoom->GetView();
    EXPECT_EQ(view.m_PositionX, SZoomView().m_PositionX);
    EXPECT_EQ(view.m_TileX, 0.0f);
    EXPECT_EQ(g_ZoomProgress.m_Key, 1);
}

#include "brovell/scenes/PictureScripts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// Within float rounding of times like 21.1 - 21.
void ExpectRectangle(const SPictureLook& look, float x, float y, float width, float height)
{
    EXPECT_NEAR(look.m_Rectangle.x, x, 1e-5f);
    EXPECT_NEAR(look.m_Rectangle.y, y, 1e-5f);
    EXPECT_NEAR(look.m_Rectangle.z, width, 1e-5f);
    EXPECT_NEAR(look.m_Rectangle.w, height, 1e-5f);
}

bool IsWhite(const SVector4& c) { return c.x == 1.0f && c.y == 1.0f && c.z == 1.0f; }
bool IsBlack(const SVector4& c) { return c.x == 0.0f && c.y == 0.0f && c.z == 0.0f; }
}

TEST(ImageScene, ScrollsUpUntilMinusFiveThenFadesToBlackAfterEighteenSeconds)
{
    SPictureLook look;
    const SWobble wobble = ScriptImageScene(2.5f, look);
    EXPECT_EQ(look.m_Picture, "dupa.jpg");
    ExpectRectangle(look, -0.5f, -3.0f, 2.0f, 9.0f);
    EXPECT_FLOAT_EQ(wobble.m_Position, 0.3f);
    EXPECT_FLOAT_EQ(wobble.m_Size, 0.3f);
    EXPECT_EQ(look.m_OverlayAmount, 0.0f);
    // The rise stops at y = -5 from t = 7.5 on.
    ScriptImageScene(7.4f, look);
    EXPECT_GT(look.m_Rectangle.y, -5.0f);
    for (float t : {7.5f, 9.0f, 17.9f})
    {
        ScriptImageScene(t, look);
        EXPECT_FLOAT_EQ(look.m_Rectangle.y, -5.0f) << t;
        EXPECT_EQ(look.m_OverlayAmount, 0.0f) << t;
    }
    ScriptImageScene(19.0f, look);
    EXPECT_TRUE(IsBlack(look.m_OverlayColor));
    EXPECT_FLOAT_EQ(look.m_OverlayAmount, 0.4f);
    ScriptImageScene(22.0f, look);
    EXPECT_FLOAT_EQ(look.m_OverlayAmount, 1.0f);
}

TEST(IntroScene, WindowsAndTheirExactBoundaries)
{
    SPictureLook look;
    look.m_OverlayAmount = 0.25f; // the first two windows leave the overlay as it was
    EXPECT_FLOAT_EQ(ScriptIntroScene(15.9f, look).m_Position, 0.0f);
    EXPECT_EQ(look.m_Picture, "quorridge.jpg");
    ExpectRectangle(look, 2.0f - 2.0f * 15.9f / 5.0f, 0.0f, 0.6f * 15.9f / 18.0f + 3.6f, 0.3f * 15.9f / 18.0f + 0.3f);
    EXPECT_EQ(look.m_OverlayAmount, 0.25f);

    // t = 16 lies in no window: the previous frame's settings stay.
    const SPictureLook before = look;
    ScriptIntroScene(16.0f, look);
    EXPECT_EQ(look.m_Picture, before.m_Picture);
    ExpectRectangle(look, before.m_Rectangle.x, before.m_Rectangle.y, before.m_Rectangle.z, before.m_Rectangle.w);

    ScriptIntroScene(18.0f, look);
    EXPECT_EQ(look.m_Picture, "presents.jpg");
    ExpectRectangle(look, 0.0f, 0.3f, 0.5f, 0.5f);
    EXPECT_EQ(look.m_OverlayAmount, 0.25f);
    ScriptIntroScene(20.0f, look);
    ExpectRectangle(look, 0.0f, 0.3f, 0.5f + 2.0f * 0.2f / 14.0f, 0.5f - 2.0f * 0.2f / 14.0f);

    ScriptIntroScene(21.0f, look);
    EXPECT_EQ(look.m_Picture, "presents.jpg");

    // 0.5 s into the title s is 1: full size, the flash amount far below zero (drawn as none).
    const SWobble title = ScriptIntroScene(21.5f, look);
    EXPECT_EQ(look.m_Picture, "harlune1.jpg");
    ExpectRectangle(look, 0.25f, 0.25f, 0.5f, 0.5f);
    EXPECT_TRUE(IsWhite(look.m_OverlayColor));
    EXPECT_FLOAT_EQ(look.m_OverlayAmount, -1.0f);
    EXPECT_FLOAT_EQ(title.m_Position, 0.2f);
    EXPECT_FLOAT_EQ(title.m_Size, 0.1f);
    // 0.1 s in: s = 0.25, half the flash still shows.
    ScriptIntroScene(21.1f, look);
    ExpectRectangle(look, -0.125f, -0.125f, 1.25f, 1.25f);
    EXPECT_NEAR(look.m_OverlayAmount, 0.5f, 1e-5f);
}

TEST(OutroScene, CardsSlideInAndExitWindowsClampAtOnePointTwo)
{
    SPictureLook look;
    look.m_OverlayAmount = 0.7f; // never touched by the credits
    EXPECT_FLOAT_EQ(ScriptOutroScene(3.0f, look).m_Position, 0.1f);
    EXPECT_EQ(look.m_Picture, "tobrik.jpg");
    ExpectRectangle(look, 0.0f, 0.0f, 0.6f, 0.6f);

    // Entry windows clamp p at 1: the card rests at (0, 0, 0.6, 0.6).
    ScriptOutroScene(20.0f, look);
    EXPECT_EQ(look.m_Picture, "maruvel.jpg");
    ExpectRectangle(look, 0.0f, 0.0f, 0.6f, 0.6f);
    ScriptOutroScene(16.5f, look);
    const float e = std::pow(0.4f, 7.0f);
    ExpectRectangle(look, 0.0f, 1.0f - e, 1.6f - e, 1.6f - e);

    // Exit windows go on to p = 1.2 and stay there: e = 1.2^7.
    const float exitE = std::pow(1.2f, 7.0f);
    for (float t : {23.6f, 23.99f})
    {
        ScriptOutroScene(t, look);
        EXPECT_EQ(look.m_Picture, "maruvel.jpg");
        ExpectRectangle(look, -exitE, -exitE, exitE + 0.6f, exitE + 0.6f);
    }
    ScriptOutroScene(39.9f, look);
    EXPECT_EQ(look.m_Picture, "ostyn.png");
    ExpectRectangle(look, -exitE, -exitE, exitE + 0.6f, exitE + 0.6f);
    // The second card's own exit moves up and right.
    ScriptOutroScene(15.0f, look);
    EXPECT_EQ(look.m_Picture, "uvolo.jpg");
    const float upE = std::pow(0.8f, 7.0f);
    ExpectRectangle(look, upE, -upE, upE + 0.6f, upE + 0.6f);

    // A boundary and the time after the last card set nothing and drift nothing.
    const SPictureLook before = look;
    for (float t : {24.0f, 40.0f, 41.0f})
    {
        EXPECT_EQ(ScriptOutroScene(t, look).m_Position, 0.0f) << t;
        EXPECT_EQ(look.m_Picture, before.m_Picture);
        EXPECT_EQ(look.m_Rectangle.x, before.m_Rectangle.x);
    }
    EXPECT_EQ(look.m_OverlayAmount, 0.7f);
}

TEST(Image2Scene, FlashGoneAfterAThirdThenTenSecondFadeToBlack)
{
    SPictureLook look;
    ScriptImage2Scene(0.0f, look);
    EXPECT_EQ(look.m_Picture, "end.jpg");
    ExpectRectangle(look, 0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_TRUE(IsWhite(look.m_OverlayColor));
    EXPECT_FLOAT_EQ(look.m_OverlayAmount, 1.0f);
    ScriptImage2Scene(0.2f, look);
    EXPECT_NEAR(look.m_OverlayAmount, 0.4f, 1e-6f);
    ScriptImage2Scene(0.34f, look);
    EXPECT_LE(look.m_OverlayAmount, 0.0f);
    ScriptImage2Scene(0.45f, look);
    EXPECT_LE(look.m_OverlayAmount, 0.0f);
    // 0.5 itself keeps the frame before.
    ScriptImage2Scene(0.5f, look);
    EXPECT_TRUE(IsWhite(look.m_OverlayColor));
    ScriptImage2Scene(5.5f, look);
    EXPECT_TRUE(IsBlack(look.m_OverlayColor));
    EXPECT_FLOAT_EQ(look.m_OverlayAmount, 0.5f);
    const SWobble wobble = ScriptImage2Scene(12.0f, look);
    EXPECT_FLOAT_EQ(look.m_OverlayAmount, 1.0f);
    EXPECT_FLOAT_EQ(wobble.m_Position, 0.005f);
}

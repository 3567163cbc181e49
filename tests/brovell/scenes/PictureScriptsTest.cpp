#include "brovell/scenes/PictureScripts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using Script = SWobble (*)(float, SPictureLook&);

// Within float rounding of times like 21.1 - 21.
void ExpectRectangle(const SPictureLook& look, float x, float y, float width, float height)
{
    EXPECT_NEAR(look.m_Rectangle.x, x, 1e-5f);
    EXPECT_NEAR(look.m_Rectangle.y, y, 1e-5f);
    EXPECT_NEAR(look.m_Rectangle.z, width, 1e-5f);
    EXPECT_NEAR(look.m_Rectangle.w, height, 1e-5f);
}

bool IsWhite(const SVector4& c)
{
    return c.x == 1.0f && c.y == 1.0f && c.z == 1.0f;
}
bool IsBlack(const SVector4& c)
{
    return c.x == 0.0f && c.y == 0.0f && c.z == 0.0f;
}

// The look at time t after a frame that left before.
SPictureLook LookAt(Script script, float t, const SPictureLook& before = {})
{
    SPictureLook look = before;
    script(t, look);
    return look;
}
}

TEST(PictureScripts, EachWindowShowsItsPictureFromItsFirstMoment)
{
    const struct
    {
        Script m_Script;
        float m_Time;
        const char* m_Picture;
    } cases[] = {
        {ScriptImageScene, 2.5f, "dupa.jpg"},      {ScriptIntroScene, 15.9f, "quorridge.jpg"},
        {ScriptIntroScene, 18.0f, "presents.jpg"}, {ScriptIntroScene, 20.9f, "presents.jpg"},
        {ScriptIntroScene, 21.5f, "harlune1.jpg"}, {ScriptOutroScene, 3.0f, "tobrik.jpg"},
        {ScriptOutroScene, 15.0f, "uvolo.jpg"},    {ScriptOutroScene, 20.0f, "maruvel.jpg"},
        {ScriptOutroScene, 23.99f, "maruvel.jpg"}, {ScriptOutroScene, 39.9f, "ostyn.png"},
        {ScriptImage2Scene, 0.0f, "end.jpg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LookAt(c.m_Script, c.m_Time).m_Picture, c.m_Picture) << c.m_Time;
}

TEST(PictureScripts, TimesInNoWindowKeepThePreviousFrame)
{
    const struct
    {
        Script m_Script;
        float m_Before;
        float m_Gap;
    } cases[] = {{ScriptIntroScene, 15.9f, 16.0f},
                 {ScriptOutroScene, 15.0f, 24.0f},
                 {ScriptOutroScene, 39.9f, 40.0f},
                 {ScriptOutroScene, 39.9f, 41.0f}};
    for (const auto& [script, before, gap] : cases)
    {
        SPictureLook previous;
        previous.m_OverlayAmount = 0.7f;
        previous = LookAt(script, before, previous);
        const SPictureLook look = LookAt(script, gap, previous);
        EXPECT_EQ(look.m_Picture, previous.m_Picture) << gap;
        ExpectRectangle(look, previous.m_Rectangle.x, previous.m_Rectangle.y, previous.m_Rectangle.z,
                        previous.m_Rectangle.w);
        EXPECT_EQ(look.m_OverlayAmount, 0.7f) << gap;
        EXPECT_EQ(script(gap, previous).m_Position, 0.0f) << gap;
    }
}

TEST(ImageScene, ScrollsUpUntilMinusFiveThenFadesToBlackAfterEighteenSeconds)
{
    EXPECT_GT(LookAt(ScriptImageScene, 7.4f).m_Rectangle.y, -5.0f);
    for (float t : {7.5f, 9.0f, 17.9f})
    {
        const SPictureLook look = LookAt(ScriptImageScene, t);
        EXPECT_FLOAT_EQ(look.m_Rectangle.y, -5.0f) << t;
        EXPECT_EQ(look.m_OverlayAmount, 0.0f) << t;
    }
    const SPictureLook fading = LookAt(ScriptImageScene, 19.0f);
    EXPECT_TRUE(IsBlack(fading.m_OverlayColor));
    EXPECT_FLOAT_EQ(fading.m_OverlayAmount, 0.4f);
    EXPECT_FLOAT_EQ(LookAt(ScriptImageScene, 22.0f).m_OverlayAmount, 1.0f);
}

TEST(IntroScene, TheTitleFlashesWhiteAndShrinksToItsPlace)
{
    // 0.1 s into the title: a quarter of the way, half the flash still shows.
    SPictureLook look = LookAt(ScriptIntroScene, 21.1f);
    ExpectRectangle(look, -0.125f, -0.125f, 1.25f, 1.25f);
    EXPECT_TRUE(IsWhite(look.m_OverlayColor));
    EXPECT_NEAR(look.m_OverlayAmount, 0.5f, 1e-5f);
    // 0.5 s in: full size at its place, the flash amount far below zero (drawn as none).
    look = LookAt(ScriptIntroScene, 21.5f);
    ExpectRectangle(look, 0.25f, 0.25f, 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(look.m_OverlayAmount, -1.0f);
}

TEST(OutroScene, CardsRestAfterEntryAndExitWindowsClampAtOnePointTwo)
{
    // Entry windows clamp at their end: the card rests at (0, 0, 0.6, 0.6).
    ExpectRectangle(LookAt(ScriptOutroScene, 3.0f), 0.0f, 0.0f, 0.6f, 0.6f);
    ExpectRectangle(LookAt(ScriptOutroScene, 20.0f), 0.0f, 0.0f, 0.6f, 0.6f);
    // Exit windows go on to p = 1.2 and stay there.
    const float exitE = std::pow(1.2f, 7.0f);
    for (float t : {23.6f, 23.99f, 39.9f})
        ExpectRectangle(LookAt(ScriptOutroScene, t), -exitE, -exitE, exitE + 0.6f, exitE + 0.6f);
}

TEST(Image2Scene, FlashGoneAfterAThirdThenTenSecondFadeToBlack)
{
    SPictureLook look = LookAt(ScriptImage2Scene, 0.0f);
    ExpectRectangle(look, 0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_TRUE(IsWhite(look.m_OverlayColor));
    EXPECT_FLOAT_EQ(look.m_OverlayAmount, 1.0f);
    EXPECT_NEAR(LookAt(ScriptImage2Scene, 0.2f).m_OverlayAmount, 0.4f, 1e-6f);
    for (float t : {0.34f, 0.45f})
        EXPECT_LE(LookAt(ScriptImage2Scene, t).m_OverlayAmount, 0.0f) << t;
    // 0.5 itself keeps the frame before.
    EXPECT_TRUE(IsWhite(LookAt(ScriptImage2Scene, 0.5f, look).m_OverlayColor));
    look = LookAt(ScriptImage2Scene, 5.5f);
    EXPECT_TRUE(IsBlack(look.m_OverlayColor));
    EXPECT_FLOAT_EQ(look.m_OverlayAmount, 0.5f);
    EXPECT_FLOAT_EQ(LookAt(ScriptImage2Scene, 12.0f).m_OverlayAmount, 1.0f);
}

#include "pictures/BallScenePictures.h"
#include "pictures/CreditCards.h"
#include "pictures/ShowPictures.h"
#include "pictures/TitlePictures.h"
#include "pictures/TrueTypeFont.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <stb/stb_image.h>

#include <filesystem>

namespace
{
const SShowFonts& Fonts()
{
    static SShowFonts fonts;
    static const bool loaded = [] {
        std::string error;
        const bool ok = fonts.Load(BROVELL_FONT_DIR, error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }();
    EXPECT_TRUE(loaded);
    return fonts;
}

float Luminance(const SColor& c)
{
    return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b;
}
}

TEST(TrueTypeFont, SetsTextInsideItsMeasuredWidthAndRefusesOtherFiles)
{
    const CTrueTypeFont& font = Fonts().m_SansBold;
    EXPECT_GT(font.Measure("WW", 100.0f), font.Measure("W", 100.0f));
    EXPECT_FLOAT_EQ(font.Measure("AB", 100.0f, 10.0f), font.Measure("AB", 100.0f) + 10.0f);
    // Heights span ascent to descent; DejaVu Sans capitals take about 0.63 of that.
    EXPECT_NEAR(font.CapHeight(100.0f), 63.0f, 2.0f);

    SMask mask(400, 160);
    const float width = font.Measure("HI", 100.0f);
    font.Draw(mask, "HI", 50.0f, 120.0f, 100.0f);
    float inside = 0.0f;
    float outside = 0.0f;
    for (uint32_t y = 0; y < mask.m_Height; ++y)
        for (uint32_t x = 0; x < mask.m_Width; ++x)
        {
            const bool inBox = x >= 48 && x <= 52 + width && y >= 120 - 76 && y <= 121;
            (inBox ? inside : outside) += mask.At(x, y);
        }
    EXPECT_GT(inside, 1000.0f);
    EXPECT_EQ(outside, 0.0f);

    const std::filesystem::path folder = MakeScratchFolder("fonts_test");
    const std::string notAFont = (folder / "not_a_font.ttf").string();
    WriteFile(notAFont, "no glyphs here");
    CTrueTypeFont broken;
    std::string error;
    EXPECT_FALSE(broken.Load(notAFont, error));
    EXPECT_NE(error.find("no TrueType font"), std::string::npos) << error;
    EXPECT_FALSE(broken.Load((folder / "missing.ttf").string(), error));
    EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

TEST(Canvas, BlurKeepsTheLightAndShiftMovesIt)
{
    SMask mask(64, 64);
    mask.At(32, 32) = 1.0f;
    const SMask blurred = Blurred(mask, 3);
    float total = 0.0f;
    for (float v : blurred.m_Values)
        total += v;
    EXPECT_NEAR(total, 1.0f, 1e-4f);
    EXPECT_GT(blurred.At(32, 32), blurred.At(36, 32));
    EXPECT_GT(blurred.At(36, 32), 0.0f);
    const SMask moved = Shifted(mask, 5, -2);
    EXPECT_EQ(moved.At(37, 30), 1.0f);
    EXPECT_EQ(moved.At(32, 32), 0.0f);
}

TEST(ShowPictures, TitleAndCardsCarryTheirTextOnAQuietGround)
{
    // The title's letters are the brightest band of the picture, its corners dark.
    const CCanvas title = MakeTitlePicture(Fonts());
    EXPECT_GT(Luminance(title.At(640, 300)), 0.5f);
    EXPECT_LT(Luminance(title.At(5, 5)), 0.05f);

    size_t count = 0;
    const SCreditCard* cards = CreditCards(count);
    ASSERT_EQ(count, 5u);
    for (size_t i = 0; i < count; ++i)
    {
        const CCanvas card = MakeCreditCard(cards[i], Fonts());
        ASSERT_EQ(card.GetWidth(), 1024u);
        ASSERT_EQ(card.GetHeight(), 576u);
        // The name's row holds near-white letter texels; the row above the role none.
        float brightestName = 0.0f;
        float brightestTop = 0.0f;
        for (uint32_t x = 90; x < 600; ++x)
        {
            brightestName = std::max(brightestName, Luminance(card.At(x, 360)));
            brightestTop = std::max(brightestTop, Luminance(card.At(x, 40)));
        }
        EXPECT_GT(brightestName, 0.7f) << cards[i].m_File;
        EXPECT_LT(brightestTop, 0.4f) << cards[i].m_File;
    }
}

TEST(ShowPictures, EveryFileIsWrittenTheSameOnEveryRun)
{
    const std::filesystem::path first = MakeScratchFolder("show_pictures");
    const std::filesystem::path second = MakeScratchFolder("show_pictures");
    ASSERT_TRUE(MakeShowPictures(first.string(), BROVELL_FONT_DIR));
    ASSERT_TRUE(MakeShowPictures(second.string(), BROVELL_FONT_DIR));
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(first))
    {
        if (!entry.is_regular_file())
            continue;
        const std::string path = entry.path().string();
        int width = 0, height = 0, channels = 0;
        EXPECT_NE(stbi_info(path.c_str(), &width, &height, &channels), 0) << path;
        EXPECT_EQ(ReadFile(entry.path()), ReadFile(second / entry.path().filename())) << path;
        ++files;
    }
    EXPECT_GE(files, 11u);
    EXPECT_FALSE(MakeShowPictures((first / "fonts_elsewhere").string(), (first / "no_fonts").string()));
}

TEST(BallScenePictures, OverlaysCoverOnlyWhatTheirRectanglesShowAndFloorsVary)
{
    // The juggler shows design3 at (0, 0.7, 1, 1): only its top 30 percent is on screen; design1
    // at (-0.3, 0, 1, 1): only its right 70 percent.
    struct SCase
    {
        SOverlayPicture m_Picture;
        uint32_t m_MaxY;
        uint32_t m_MinX;
    };
    const SCase cases[] = {{MakeJugglerOverlay(Fonts()), 216, 0},
                           {MakeFieldOverlay(Fonts()), 720, 384},
                           {MakeBallsOverlay(Fonts()), 720, 0}};
    for (const SCase& c : cases)
    {
        const CCanvas& alpha = c.m_Picture.m_Alpha;
        ASSERT_EQ(alpha.GetWidth(), 1280u);
        ASSERT_EQ(alpha.GetHeight(), 720u);
        float inside = 0.0f, outside = 0.0f;
        for (uint32_t y = 0; y < alpha.GetHeight(); ++y)
            for (uint32_t x = 0; x < alpha.GetWidth(); ++x)
                (y < c.m_MaxY && x >= c.m_MinX ? inside : outside) += alpha.At(x, y).r;
        EXPECT_GT(inside, 2000.0f) << c.m_MaxY << " " << c.m_MinX;
        EXPECT_EQ(outside, 0.0f) << c.m_MaxY << " " << c.m_MinX;
    }
    for (const CCanvas& floor : {MakeTileFloor(), MakeMetalFloor()})
    {
        ASSERT_EQ(floor.GetWidth(), 256u);
        ASSERT_EQ(floor.GetHeight(), 256u);
        EXPECT_NE(Luminance(floor.At(1, 1)), Luminance(floor.At(5, 1)));
        EXPECT_GT(Luminance(floor.At(255, 255)), 0.02f);
    }
}

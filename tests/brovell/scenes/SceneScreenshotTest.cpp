// The loader, the title and a credit card drawn by the real pipeline on the generated
// pictures; each frame is read back and saved as PNG (for looking at) and checked where the
// script puts things.
#include "../../kelvo/render/RenderTestBase.h"

#include "brovell/scenes/IntroScene.h"
#include "brovell/scenes/LoaderScene.h"
#include "brovell/scenes/OutroScene.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/render/KelvoRenderer.h"

#include <stb/stb_image_write.h>

#include <filesystem>
#include <memory>

namespace
{
class SceneScreenshots : public RenderTestBase
{
protected:
    void SetUp() override
    {
        RenderTestBase::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // The real pictures, logo and font, listed after the test folder's so that they win.
        CResourceManager::Instance().ScanDirectory(BROVELL_DATA_DIR);
        m_Renderer = std::make_unique<CKelvoRenderer>(m_Backend.get(), nullptr);
    }
    void TearDown() override
    {
        m_Renderer.reset();
        RenderTestBase::TearDown();
    }

    // Reads the window back and saves it under the build's screenshot folder.
    void ReadAndSave(const char* name)
    {
        ReadWindow();
        std::vector<uint8_t> rgba(m_Pixels.size() * 4);
        for (size_t i = 0; i < m_Pixels.size(); ++i)
        {
            rgba[4 * i + 0] = static_cast<uint8_t>(m_Pixels[i] >> 16);
            rgba[4 * i + 1] = static_cast<uint8_t>(m_Pixels[i] >> 8);
            rgba[4 * i + 2] = static_cast<uint8_t>(m_Pixels[i]);
            rgba[4 * i + 3] = 255;
        }
        std::filesystem::create_directories(BROVELL_SCREENSHOT_DIR);
        const std::string path = std::string(BROVELL_SCREENSHOT_DIR) + "/" + name;
        EXPECT_NE(stbi_write_png(path.c_str(), GLTest::kWindowWidth, GLTest::kWindowHeight, 4, rgba.data(),
                                 GLTest::kWindowWidth * 4),
                  0)
            << path;
    }

    static int Red(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
    static int Green(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
    static int Blue(uint32_t c) { return static_cast<int>(c & 0xFF); }

    std::unique_ptr<CKelvoRenderer> m_Renderer;
};
}

TEST_F(SceneScreenshots, LoaderHalfwayDrawsItsBarFromInsideFrame)
{
    CLoaderScene loader;
    loader.LoadResources();
    const int swaps = m_Window->m_SwapCount;
    loader.Frame(0.5f);
    EXPECT_EQ(m_Window->m_SwapCount, swaps + 1) << "the loader presents by itself";
    EXPECT_FLOAT_EQ(loader.GetBarWidth(), 0.38f);
    ReadAndSave("loader_50.png");
    // White frame, white bar up to 0.12 + 0.38 = 0.5 across, black inside after it.
    EXPECT_TRUE(NearColor(PixelAt(0.105f, 0.5f), 0xFFFFFFFF, 24)) << ColorText(PixelAt(0.105f, 0.5f));
    EXPECT_TRUE(NearColor(PixelAt(0.3f, 0.5f), 0xFFFFFFFF, 24)) << ColorText(PixelAt(0.3f, 0.5f));
    EXPECT_TRUE(NearColor(PixelAt(0.7f, 0.5f), 0xFF000000, 24)) << ColorText(PixelAt(0.7f, 0.5f));
    // Past 1 the bar stops at the background's width.
    loader.Frame(1.4f);
    EXPECT_FLOAT_EQ(loader.GetBarWidth(), 0.76f);
}

TEST_F(SceneScreenshots, TitleAtTwentyFiveSeconds)
{
    CIntroScene intro;
    intro.LoadResources();
    intro.Frame(25.0f);
    m_Renderer->RenderFrame();
    ReadAndSave("intro_title_25s.png");
    EXPECT_EQ(intro.GetLook().m_Picture, "harlune1.jpg");
    // The title's glowing letters fill the middle with warm light; the border stays dark.
    const uint32_t middle = PixelAt(0.5f, 0.5f);
    EXPECT_GT(Red(middle), Blue(middle) + 40) << ColorText(middle);
    EXPECT_GT(Red(middle), 60) << ColorText(middle);
    const uint32_t corner = PixelAt(0.98f, 0.98f);
    EXPECT_LT(Red(corner) + Green(corner) + Blue(corner), 60) << ColorText(corner);
}

TEST_F(SceneScreenshots, FirstCreditCard)
{
    COutroScene credits;
    credits.LoadResources();
    credits.Frame(4.0f);
    m_Renderer->RenderFrame();
    ReadAndSave("credits_tobrik_4s.png");
    EXPECT_EQ(credits.GetLook().m_Picture, "tobrik.jpg");
    // The teal card covers the top-left area; the frame to its lower right is cleared.
    const uint32_t card = PixelAt(0.3f, 0.2f);
    EXPECT_GT(Green(card), Red(card) + 20) << ColorText(card);
    EXPECT_GT(Blue(card), Red(card) + 20) << ColorText(card);
}

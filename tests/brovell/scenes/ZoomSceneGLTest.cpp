// The zoom scene drawn by the real pipeline on the generated bank: where one key ends and the
// next begins in the image its texel turned into, the frames before and after the jump must
// look alike.
#include "../../kelvo/render/RenderTestBase.h"

#include "brovell/scenes/ZoomScene.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/ZoomProgress.h"

#include <cmath>

namespace
{
class ZoomSceneGLTest : public RendererTestBase
{
protected:
    void SetUp() override
    {
        RendererTestBase::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        CResourceManager::Instance().ScanDirectory(BROVELL_DATA_DIR);
        g_ZoomProgress = SZoomProgress();
    }

    std::vector<uint32_t> Draw(CZoomScene& scene, float time)
    {
        scene.Frame(time);
        m_Renderer->RenderFrame();
        ReadWindow();
        return m_Pixels;
    }
};

// Share of the pixels inside the overlay's frame and above the text line whose colour moved
// by more than threshold in some channel.
double ChangedShare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int threshold)
{
    int changed = 0, count = 0;
    for (uint32_t y = 20; y < GLTest::kWindowHeight - 30; ++y)
        for (uint32_t x = 20; x < GLTest::kWindowWidth - 20; ++x, ++count)
        {
            const uint32_t pa = a[y * GLTest::kWindowWidth + x], pb = b[y * GLTest::kWindowWidth + x];
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(static_cast<int>((pa >> shift) & 0xFF) -
                             static_cast<int>((pb >> shift) & 0xFF)) > threshold)
                {
                    ++changed;
                    break;
                }
        }
    return static_cast<double>(changed) / count;
}
}

TEST_F(ZoomSceneGLTest, TheFlightGoesOnWithoutAJumpWhereAKeyEnds)
{
    CZoomScene scene;
    scene.LoadResources();
    m_Renderer->SetScreenSize(GLTest::kWindowWidth, GLTest::kWindowHeight);
    // Thirty frames a second up to just before each key's end, then the last moment of the
    // key and the first of the next.
    float time = 0.0f;
    for (int key = 1; key <= 3; ++key)
    {
        for (; time < 3.0f * key - 0.05f; time += 1.0f / 30.0f)
            scene.Frame(time);
        const std::vector<uint32_t> before = Draw(scene, 3.0f * key - 0.0005f);
        const std::vector<uint32_t> after = Draw(scene, 3.0f * key);
        const std::vector<uint32_t> later = Draw(scene, 3.0f * key + 0.3f);
        time = 3.0f * key + 0.3f;
        // Only edges move by a pixel at the jump; a third of a second of flight moves much more.
        EXPECT_LT(ChangedShare(before, after, 40), 0.03) << "key " << key;
        EXPECT_LT(ChangedShare(before, after, 40), 0.25 * ChangedShare(after, later, 40)) << "key " << key;
    }
}

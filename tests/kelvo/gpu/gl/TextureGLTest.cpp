#include "GLBackendFixture.h"

#include "support/CaptureStderr.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/gpu/gl/TextureGL.h"

#include <cstring>

namespace
{
class TextureGLTest : public GLBackendTestBase
{
protected:
    // A created texture, released when the test ends.
    CTextureGL* Create(uint32_t width, uint32_t height, uint32_t format, bool renderTarget)
    {
        GPUObjectHandle handle;
        return Hold<CTextureGL>(m_Backend->CreateTexture("", width, height, 1, format, renderTarget, handle),
                                handle);
    }

    CTextureGL* Load(const std::string& name, uint32_t& outResult)
    {
        GPUObjectHandle handle;
        outResult = m_Backend->LoadTexture(name, handle);
        return Hold<CTextureGL>(outResult, handle);
    }
};
}

TEST_F(TextureGLTest, ClearedRenderTargetsReadBackInEveryFormat)
{
    const float color[4] = {0.2f, 0.4f, 0.6f, 1.0f};
    GetVariable("r_clear_color", 16)->SetVector(color);
    ASSERT_EQ(m_Backend->SetFillMode(1), kGPUResultOk);
    for (uint32_t format = 1; format <= 4; ++format)
    {
        SCOPED_TRACE(format);
        CTextureGL* target = Create(6, 4, format, true);
        ASSERT_NE(target, nullptr);
        ASSERT_EQ(target->Clear(), kGPUResultOk);
        std::vector<uint8_t> bytes;
        ASSERT_EQ(target->ReadBack(bytes), kGPUResultOk);
        const uint32_t texelBytes = format == 1 ? 4 : format == 2 ? 4 : format == 3 ? 8 : 16;
        ASSERT_EQ(bytes.size(), 6u * 4 * texelBytes);
        const uint8_t* last = bytes.data() + bytes.size() - texelBytes;
        if (format == 1)
        {
            uint32_t texel = 0;
            std::memcpy(&texel, last, 4);
            EXPECT_EQ(texel, 0xff336699u);
        }
        else
            EXPECT_EQ(std::memcmp(last, color, texelBytes), 0);
    }
    // Clears fill solid, then restore the default target and the fill mode set before.
    uint32_t mode = 0;
    EXPECT_EQ(m_Backend->GetFillMode(mode), kGPUResultOk);
    EXPECT_EQ(mode, 1u);
    uint32_t width = 0, height = 0;
    m_Backend->GetDevice()->GetRenderTargetSize(width, height);
    EXPECT_EQ(width, 1920u);
}

TEST_F(TextureGLTest, WrittenPixelsReadBackInsideTheRectangle)
{
    CTextureGL* texture = Create(8, 4, 1, false);
    ASSERT_NE(texture, nullptr);
    // A 3 x 2 block with a source pitch wider than its rows.
    const uint32_t source[2][5] = {{1, 2, 3, 99, 99}, {4, 5, 6, 99, 99}};
    ASSERT_EQ(texture->WritePixels(4, 1, 3, 2, source, sizeof(source[0])), kGPUResultOk);
    std::vector<uint32_t> texels;
    ASSERT_EQ(texture->ReadPixels(0, 3, 1, 4, 2, texels), kGPUResultOk);
    EXPECT_EQ(texels, (std::vector<uint32_t>{0, 1, 2, 3, 0, 4, 5, 6}));
    EXPECT_EQ(texture->ReadPixels(0, 0, 0, 0, 3, texels), kGPUResultOk);
    EXPECT_TRUE(texels.empty());
    EXPECT_EQ(texture->ReadPixels(0, 6, 0, 3, 1, texels), kGPUResultLock);
    EXPECT_EQ(texture->WritePixels(0, 3, 1, 2, source, 20), kGPUResultLock);
    EXPECT_EQ(texture->WritePixels(0, 0, 1, 1, nullptr, 4), kGPUResultLock);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(texture->ReadBack(bytes), kGPUResultNotRenderTarget);
}

TEST_F(TextureGLTest, FourFloatTexturesCopySixteenBytesPerTexel)
{
    CTextureGL* texture = Create(2, 2, 4, false);
    ASSERT_NE(texture, nullptr);
    float rows[2][8];
    for (int i = 0; i < 16; ++i)
        rows[i / 8][i % 8] = static_cast<float>(i) + 0.5f;
    ASSERT_EQ(texture->WritePixels(0, 0, 2, 2, rows, sizeof(rows[0])), kGPUResultOk);
    // ReadPixels gives 4 bytes per texel: the leading words of each row, nothing beyond.
    std::vector<uint32_t> texels;
    ASSERT_EQ(texture->ReadPixels(0, 0, 0, 2, 2, texels), kGPUResultOk);
    ASSERT_EQ(texels.size(), 4u);
    std::vector<float> words(4);
    std::memcpy(words.data(), texels.data(), 16);
    EXPECT_EQ(words, (std::vector<float>{0.5f, 1.5f, 8.5f, 9.5f}));
}

TEST_F(TextureGLTest, LoadedPictureKeepsItsTopRowFirst)
{
    uint32_t result = 0;
    CTextureGL* picture = Load("rows.png", result);
    ASSERT_NE(picture, nullptr) << result;
    uint32_t width = 0, height = 0, levels = 0, format = 9;
    picture->GetDesc(width, height, levels, format);
    EXPECT_EQ((std::vector<uint32_t>{width, height, levels, format}), (std::vector<uint32_t>{4, 2, 3, 0}));
    ASSERT_TRUE(picture->GetLevelSize(2, width, height));
    EXPECT_EQ(width, 1u);
    EXPECT_FALSE(picture->GetLevelSize(3, width, height));
    std::vector<uint32_t> texels;
    ASSERT_EQ(picture->ReadPixels(0, 0, 0, 4, 2, texels), kGPUResultOk);
    EXPECT_EQ(texels, (std::vector<uint32_t>{0xffff0000u, 0xff00ff00u, 0xff0000ffu, 0xffffffffu, 0xff000000u,
                                             0xff000000u, 0xff000000u, 0xff000000u}));
    std::vector<uint8_t> bytes;
    EXPECT_EQ(picture->ReadBack(bytes), kGPUResultNotRenderTarget);
}

TEST_F(TextureGLTest, BrokenOrMissingPicturesAreRefused)
{
    uint32_t result = 0;
    const std::string log = CaptureStderr([&] { EXPECT_EQ(Load("not_a_picture.png", result), nullptr); });
    EXPECT_EQ(result, kGPUResultLoadPicture);
    EXPECT_EQ(log.rfind("[CTextureGL::Load] Failed to load texture! not_a_picture.png: ", 0), 0u) << log;
    const std::string missing =
        CaptureStderr([&] { EXPECT_EQ(Load("not_in_the_registry.png", result), nullptr); });
    EXPECT_EQ(result, kGPUResultNotFound);
    EXPECT_NE(missing.find("not_in_the_registry.png: no such file in the data folder"), std::string::npos)
        << missing;
    EXPECT_EQ(m_Backend->FindByName("not_a_picture.png", kGPUObjectTexture), nullptr);
}

TEST_F(TextureGLTest, BindingPublishesTheStageSize)
{
    CTextureGL* texture = Create(256, 128, 1, false);
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(texture->SetTexture(2), kGPUResultOk);
    EXPECT_EQ(Variable<uint32_t>("r_texw_2"), 256u);
    EXPECT_EQ(Variable<uint32_t>("r_texh_2"), 128u);
    EXPECT_EQ(Variable<float>("r_texdx_2"), 0.00390625f);
    EXPECT_EQ(Variable<float>("r_texdy_2"), 0.0078125f);

    // Stage 300 is no stage: refused, and nothing is published.
    CTextureGL* other = Create(64, 32, 1, false);
    ASSERT_NE(other, nullptr);
    std::string log = CaptureStderr([&] { EXPECT_EQ(other->SetTexture(300), kGPUResultBindTexture); });
    EXPECT_EQ(log, "[CTextureGL::SetTexture] Failed to set texture!hr = 1281\n");
    EXPECT_EQ(Variable<uint32_t>("r_texw_2"), 256u);
    EXPECT_EQ(Variable<uint32_t>("r_texw_260"), 0u);

    ASSERT_EQ(other->SetVertexTexture(0), kGPUResultOk);
    EXPECT_EQ(Variable<uint32_t>("r_texw_257"), 64u);
    EXPECT_EQ(Variable<float>("r_texdy_257"), 1.0f / 32.0f);

    CTextureGL empty(m_Backend->GetDevice());
    log = CaptureStderr([&] {
        EXPECT_EQ(empty.SetTexture(0), kGPUResultNoTexture);
        EXPECT_EQ(empty.SetRenderTarget(0), kGPUResultNoTexture);
    });
    EXPECT_EQ(log, "[CTextureGL::SetTexture] m_Texture is null!\n"
                   "[CTextureGL::SetRenderTarget] m_Texture is null!\n");
    std::vector<uint32_t> texels;
    EXPECT_EQ(empty.ReadPixels(0, 0, 0, 1, 1, texels), kGPUResultNoTexture);
    EXPECT_EQ(empty.WritePixels(0, 0, 1, 1, texels.data(), 4), kGPUResultNoTexture);
}

TEST_F(TextureGLTest, OnlyRenderTargetTexturesBecomeRenderTargets)
{
    CTextureGL* data = Create(16, 16, 4, false);
    ASSERT_NE(data, nullptr);
    const std::string log =
        CaptureStderr([&] { EXPECT_EQ(data->SetRenderTarget(0), kGPUResultSetRenderTarget); });
    EXPECT_EQ(log, "[CTextureGL::SetRenderTarget] Failed to set render target!hr = 00000502\n");
    CTextureGL* target = Create(16, 16, 4, true);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->SetRenderTarget(3), kGPUResultOk);
    EXPECT_EQ(target->SetRenderTarget(4), kGPUResultSetRenderTarget);
}

// The zoom phase on the GL backend over a small bank of 2 x 2 images:
//
//   +-----------------+-----------------+
//   | 0: red, a grey  | 1: green        |      the grey block in image 0 has image 3's
//   |    5x5 block    |                 |      average colour, so the table maps it to 3
//   +-----------------+-----------------+
//   | 2: blue         | 3: yellow | blue|
//   +-----------------+-----------------+
#include "RenderTestBase.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/RenderProcess.h"
#include "kelvo/render/ZoomBankTable.h"
#include "kelvo/render/ZoomPhase.h"

#include "../../support/CaptureStderr.h"
#include "../../support/TestFiles.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace
{
constexpr uint32_t kYellow = 0xFFFAFA00;
constexpr uint32_t kBlue = 0xFF0000FA;
constexpr uint32_t kGrey = 0xFF7D7D7D;
constexpr uint32_t kBlockTexel = 102;

// The phase alone, on the named bank.
class CZoomOnlyProcess : public CRenderProcess
{
public:
    explicit CZoomOnlyProcess(const std::string& bank)
    {
        m_Zoom = AddPhase(new CZoomPhase());
        m_Zoom->SetTexture(0, true, bank);
        m_Zoom->SetTexture(1, true, bank);
        m_Zoom->SetTexture(2, true, "zoom_bank_desc");
        m_Zoom->SetBankTexture(bank);
    }
    CZoomPhase* m_Zoom;
};

uint32_t BankColor(uint32_t x, uint32_t y)
{
    const uint32_t image = (y / 256) * 2 + x / 256;
    const uint32_t u = x % 256, v = y % 256;
    const bool inBlock =
        u >= kBlockTexel - 2 && u <= kBlockTexel + 2 && v >= kBlockTexel - 2 && v <= kBlockTexel + 2;
    switch (image)
    {
    case 0:
        return inBlock ? kGrey : 0xFFC82828;
    case 1:
        return 0xFF28C828;
    case 2:
        return 0xFF2828C8;
    default:
        return u < 128 ? kYellow : kBlue;
    }
}

class ZoomPhaseTest : public RendererTestBase
{
protected:
    void SetUp() override
    {
        RendererTestBase::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        static const std::string folder = [] {
            const fs::path root = MakeScratchFolder("zoom_phase_tests");
            WritePicture(root / "zoom_test_bank.png", 512, 512, BankColor);
            WritePicture(root / "zoom_test_tall.png", 256, 512, BankColor);
            WritePicture(root / "zoom_test_odd.png", 300, 300, BankColor);
            CResourceManager::Instance().ScanDirectory(root.string());
            return root.string();
        }();
        m_Folder = folder;
    }

    // One frame of the phase with the view on the centre of texel (102, 102) of image 0, at
    // magnification screen pixels per texel.
    void DrawMagnified(CZoomOnlyProcess& process, float magnification)
    {
        SZoomView& view = process.m_Zoom->GetView();
        view = SZoomView();
        view.m_PositionX = view.m_PositionY = (kBlockTexel + 0.5f) / 512.0f;
        view.m_Scale = static_cast<float>(GLTest::kWindowWidth) / 512.0f / magnification;
        DrawFrame(&process);
    }

    std::string m_Folder;
};
}

TEST_F(ZoomPhaseTest, TheTableComesFromTheLastMipLevelAndAMagnifiedTexelShowsItsImage)
{
    CZoomOnlyProcess process("zoom_test_bank.png");
    CZoomPhase& zoom = *process.m_Zoom;
    ASSERT_EQ(zoom.GetImagesPerRow(), 2u);
    EXPECT_EQ(Variable<uint32_t>("r_zoom_images_x"), 2u);
    const std::vector<uint32_t>& table = zoom.GetTable();
    ASSERT_EQ(table.size(), kZoomTableEntries);
    // Grey (level 31 of 63) is image 3's average; pure blue is nearest image 2.
    EXPECT_EQ(table[31 * 4096 + 31 * 64 + 31] >> 24, 3u);
    EXPECT_EQ(table[63 * 4096] >> 24, 2u);

    // The cache beside the bank holds the table for the next start.
    EXPECT_TRUE(fs::exists(fs::path(m_Folder) / "bank.dsc"));
    CZoomOnlyProcess again("zoom_test_bank.png");
    EXPECT_TRUE(again.m_Zoom->GetTable() == table);

    // Three pixels a texel: the grey texel itself; at a hundred the table texture's entry for
    // grey decides which image is drawn.
    DrawMagnified(process, 3.0f);
    EXPECT_TRUE(IsNearColor(Pixel(160, 120), kGrey));
    // The texel is image 3, yellow on its left, blue on its right.
    DrawMagnified(process, 100.0f);
    EXPECT_TRUE(IsNearColor(Pixel(135, 120), kYellow, 12));
    EXPECT_TRUE(IsNearColor(Pixel(185, 120), kBlue, 12));
    // The grey texel to its left is a whole image 3 of its own.
    EXPECT_TRUE(IsNearColor(Pixel(35, 120), kYellow, 12));
    EXPECT_TRUE(IsNearColor(Pixel(85, 120), kBlue, 12));
}

TEST_F(ZoomPhaseTest, ABankThatIsNotSquareOrNotWholeImagesStopsTheBuildAndStillDraws)
{
    const std::pair<const char*, const char*> banks[] = {
        {"zoom_test_tall.png", "[CZoomPhase::SetBankTexture] width != height!\n"},
        {"zoom_test_odd.png", "[CZoomPhase::SetBankTexture] width is not a multiple of 256!\n"},
        {"zoom_test_missing.png", "[CZoomPhase::SetBankTexture] Can't load texture: zoom_test_missing.png\n"},
    };
    for (const auto& [bank, message] : banks)
    {
        std::unique_ptr<CZoomOnlyProcess> process;
        const std::string log = CaptureStderr([&] { process = std::make_unique<CZoomOnlyProcess>(bank); });
        EXPECT_NE(log.find(message), std::string::npos) << log;
        EXPECT_EQ(process->m_Zoom->GetImagesPerRow(), 0u);
        EXPECT_TRUE(process->m_Zoom->GetTable().empty());
        process->m_Zoom->MoveInto(5);
        CaptureStderr([&] { DrawMagnified(*process, 100.0f); });
        EXPECT_EQ(process->m_Zoom->GetView().m_TileX, 0.0f);
    }
}

#include "RenderTestBase.h"

#include "support/CaptureStderr.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/RenderPhase.h"
#include "kelvo/render/RenderProcess.h"

#include <string>
#include <vector>

namespace
{
// Records its runs in a shared journal.
class CJournalPhase : public CRenderPhase
{
public:
    CJournalPhase(std::vector<std::string>* journal, std::string name)
        : m_Journal(journal)
        , m_Name(std::move(name))
    {
    }
    void Run(CRenderProcess*) override { m_Journal->push_back(m_Name + (IsResolved() ? "+" : "-")); }

private:
    std::vector<std::string>* m_Journal;
    std::string m_Name;
};

class CJournalProcess : public CRenderProcess
{
public:
    explicit CJournalProcess(std::vector<std::string>* journal)
        : m_Journal(journal)
    {
        m_First = AddPhase(new CJournalPhase(journal, "first"));
        m_Second = AddPhase(new CJournalPhase(journal, "second"));
    }
    void Init() override { m_Journal->push_back("init"); }

    std::vector<std::string>* m_Journal;
    CJournalPhase* m_First;
    CJournalPhase* m_Second;
};

using RenderPhaseTest = RenderTestBase;
}

TEST_F(RenderPhaseTest, SlotsOutOfRangeAreRefusedAndLogged)
{
    std::vector<std::string> journal;
    CJournalPhase phase(&journal, "p");
    EXPECT_EQ(CaptureStderr([&] { EXPECT_FALSE(phase.SetTexture(8, true, "quadrants.png")); }),
              "[CRenderPhase::SetTexture] Error: input slot: 8 texture: quadrants.png\n");
    EXPECT_EQ(CaptureStderr([&] { EXPECT_FALSE(phase.SetTexture(4, false, "target")); }),
              "[CRenderPhase::SetTexture] Error: output slot: 4 texture: target\n");
    EXPECT_TRUE(phase.GetInputNames().empty());
    EXPECT_TRUE(phase.GetOutputNames().empty());
}

TEST_F(RenderPhaseTest, ResolutionIsAllOrNothingAndKeptUntilAnInputNameChanges)
{
    std::vector<std::string> journal;
    CJournalPhase phase(&journal, "p");
    // A gap in the inputs resolves nothing.
    ASSERT_TRUE(phase.SetTexture(1, true, "quadrants.png"));
    EXPECT_EQ(phase.GetInputNames(), (std::vector<std::string>{"", "quadrants.png"}));
    const std::string log = CaptureStderr([&] { EXPECT_FALSE(phase.BindTextures()); });
    EXPECT_EQ(log, "[CRenderPhase::AddTexture] Failed to load texture: !\n");
    EXPECT_FALSE(phase.IsResolved());
    EXPECT_TRUE(phase.GetTextures().empty());
    // Filled, but with an output that does not exist: still nothing.
    ASSERT_TRUE(phase.SetTexture(0, true, "rows.png"));
    ASSERT_TRUE(phase.SetTexture(0, false, "missing_target"));
    CaptureStderr([&] { EXPECT_FALSE(phase.LoadTextures()); });
    EXPECT_TRUE(phase.GetTextures().empty());

    GPUObjectHandle target;
    ASSERT_EQ(m_Backend->CreateTexture("phase_target", 16, 16, 1, 1, true, target), 0u);
    ASSERT_TRUE(phase.SetTexture(0, false, "phase_target"));
    ASSERT_TRUE(phase.BindTextures());
    const std::vector<IGPUTexture*> resolved = phase.GetTextures();
    ASSERT_EQ(resolved.size(), 3u);
    // Binding published each stage's texture size.
    EXPECT_EQ(Variable<uint32_t>("r_texw_0"), 4u);
    EXPECT_EQ(Variable<uint32_t>("r_texw_1"), 2u);

    // The same input name and a new output name keep what is resolved.
    ASSERT_TRUE(phase.SetTexture(1, true, "quadrants.png"));
    ASSERT_TRUE(phase.SetTexture(0, false, "another_target"));
    EXPECT_TRUE(phase.IsResolved());
    EXPECT_EQ(phase.GetTextures(), resolved);

    // Another input name drops everything; the next bind resolves again.
    ASSERT_TRUE(phase.SetTexture(1, true, "rows.png"));
    EXPECT_FALSE(phase.IsResolved());
    EXPECT_TRUE(phase.GetTextures().empty());
    ASSERT_TRUE(phase.SetTexture(0, false, "phase_target"));
    ASSERT_TRUE(phase.BindTextures());
    EXPECT_EQ(phase.GetTextures().size(), 3u);
    phase.ReleaseTextures();
    m_Backend->SetDefaultRenderTarget();
    m_Backend->ReleaseResource(&target);
    // Every reference went back: the names are gone from the store.
    EXPECT_EQ(m_Backend->FindByName("phase_target", kGPUObjectTexture), nullptr);
    EXPECT_EQ(m_Backend->FindByName("rows.png", kGPUObjectTexture), nullptr);
}

TEST_F(RenderPhaseTest, ProcessInitialisesOnceThenRunsPhasesInOrderEvenUnresolved)
{
    std::vector<std::string> journal;
    CJournalProcess process(&journal);
    CaptureStderr([&] {
        ASSERT_TRUE(process.m_Second->SetTexture(0, true, "no_such_picture.png"));
        process.Run();
        process.Run();
    });
    EXPECT_TRUE(process.IsInitialised());
    EXPECT_EQ(journal, (std::vector<std::string>{"init", "first+", "second-", "first+", "second-"}));
}

#include "kelvo/core/GameObject.h"
#include "kelvo/core/ObjectTree.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../world/WorldTestHelpers.h"

namespace
{
std::vector<std::string> g_Trace;

// A logic kind that records which object it ran on.
class CTraceLogic : public CObjectLogicBase
{
    KELVO_RTTI(CTraceLogic, CObjectLogicBase)

public:
    void Update() override { g_Trace.push_back(m_Name); }
    void OnHierarchyChanged() override { ++m_HierarchyChanges; }
    std::string m_Name;
    int m_HierarchyChanges = 0;
};

// A second kind deriving from the first: IsKindOf of the base kind answers true for it.
class CDerivedTraceLogic : public CTraceLogic
{
    KELVO_RTTI(CDerivedTraceLogic, CTraceLogic)
};

class CInactiveObject : public CGameObject
{
public:
    bool IsActive() const override { return false; }
};

CTraceLogic* Named(CGameObject& object, const char* name, CGameObject* parent = nullptr)
{
    CTraceLogic* logic = object.AddLogic<CTraceLogic>();
    logic->m_Name = name;
    if (parent)
        object.SetParent(parent);
    return logic;
}

struct SRecordingQueue
{
    void Add(ILogicUpdate* update, uint32_t kind) { queued.push_back({update, kind}); }
    std::vector<std::pair<ILogicUpdate*, uint32_t>> queued;
};
}

class ObjectTree : public ::testing::Test
{
protected:
    void SetUp() override { g_Trace.clear(); }
};

TEST_F(ObjectTree, WalkVisitsParentsBeforeChildrenAndSkipsInactiveSubtrees)
{
    CTestObject root, a, b, a1;
    COwning<CInactiveObject> hidden;
    CTestObject underHidden;
    Named(root, "root");
    Named(a, "a", &root);
    Named(b, "b", &root);
    Named(a1, "a1", &a);
    Named(hidden, "hidden", &root);
    Named(underHidden, "underHidden", &hidden);

    WalkObjectTree<SRecordingQueue>(&root, CTraceLogic::StaticTypeId(), nullptr);
    EXPECT_EQ(g_Trace, (std::vector<std::string>{"root", "a", "a1", "b"}));

    // With a queue the same objects are handed over, in the same order, and nothing runs.
    g_Trace.clear();
    SRecordingQueue queue;
    WalkObjectTree(&root, CTraceLogic::StaticTypeId(), &queue);
    EXPECT_TRUE(g_Trace.empty());
    ASSERT_EQ(queue.queued.size(), 4u);
    EXPECT_EQ(queue.queued[0].first, static_cast<ILogicUpdate*>(&root));
    EXPECT_EQ(queue.queued[2].first, static_cast<ILogicUpdate*>(&a1));
    EXPECT_EQ(queue.queued[3].second, CTraceLogic::StaticTypeId());
}

TEST_F(ObjectTree, UpdateReachesOnlyTheFirstComponentOfAKind)
{
    CTestObject object;
    Named(object, "first");
    // AddLogic finds the present component instead of adding a second one.
    EXPECT_EQ(object.AddLogic<CTraceLogic>()->m_Name, "first");
    EXPECT_EQ(object.GetLogics().size(), 1u);

    // A derived component added behind it is of the same kind, but only the first runs.
    CDerivedTraceLogic* derived = object.AddLogic<CDerivedTraceLogic>();
    derived->m_Name = "second";
    EXPECT_EQ(object.GetLogics().size(), 2u);
    object.Update(CTraceLogic::StaticTypeId());
    EXPECT_EQ(g_Trace, (std::vector<std::string>{"first"}));
    object.Update(CDerivedTraceLogic::StaticTypeId());
    EXPECT_EQ(g_Trace, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(derived->GetOwner(), &object);
    EXPECT_EQ(FindLogic(nullptr, CTraceLogic::StaticTypeId()), nullptr);
}

TEST_F(ObjectTree, SetParentMovesTheObjectAndTellsItsComponentsOnce)
{
    CTestObject first, second, child;
    CTraceLogic* logic = Named(child, "child", &first);
    EXPECT_EQ(logic->m_HierarchyChanges, 1);
    child.SetParent(&first); // the current parent: nothing happens
    EXPECT_EQ(logic->m_HierarchyChanges, 1);
    EXPECT_EQ(first.GetChildren().size(), 1u);

    child.SetParent(&second);
    EXPECT_EQ(logic->m_HierarchyChanges, 2);
    EXPECT_TRUE(first.GetChildren().empty());
    EXPECT_EQ(second.GetChildren(), (std::vector<CGameObject*>{&child}));
    EXPECT_EQ(child.GetParent(), &second);

    second.AddChild(&child); // no duplicate entry
    EXPECT_EQ(second.GetChildren().size(), 1u);
    second.RemoveChild(&first); // absent: nothing
    EXPECT_EQ(second.GetChildren().size(), 1u);
}

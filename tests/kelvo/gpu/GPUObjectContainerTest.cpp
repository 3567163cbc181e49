#include "kelvo/gpu/GPUObjectContainer.h"

#include "FakeResources.h"

#include <gtest/gtest.h>

TEST(GPUObjectContainer, ForwardsToItsResourceAndDestroysItWithTheLastReference)
{
    const int liveBefore = CFakeResource::s_LiveCount;
    auto* resource = new CFakeCopyableResource();
    auto* container = new GPUObjectContainer<CFakeCopyableResource>(resource, kGPUObjectMesh);
    EXPECT_EQ(container->GetHandle().m_Type, kGPUObjectMesh);
    EXPECT_NE(container->GetHandle().m_Id, 0u);
    EXPECT_EQ(container->GetResourceTypeId(), CFakeCopyableResource::StaticTypeId());
    EXPECT_EQ(container->GetResource(), resource);

    EXPECT_TRUE(container->UpdateResource());
    EXPECT_TRUE(container->RefreshResource());
    EXPECT_TRUE(container->ReleaseResource());
    EXPECT_EQ(resource->m_UpdateCount, 1);
    EXPECT_EQ(resource->m_RefreshCount, 1);
    EXPECT_EQ(resource->m_ReleaseCount, 1); // the GPU side is freed, the object lives on

    EXPECT_EQ(container->AddRef(), 2);
    EXPECT_EQ(container->Release(), 1);
    EXPECT_EQ(CFakeResource::s_LiveCount, liveBefore + 1);
    EXPECT_EQ(container->Release(), 0);
    EXPECT_EQ(CFakeResource::s_LiveCount, liveBefore);
}

TEST(GPUObjectContainer, EmptyContainerAnswersFalseAndNull)
{
    auto* container = new GPUObjectContainer<CFakeResource>(nullptr, kGPUObjectTexture);
    EXPECT_EQ(container->GetResource(), nullptr);
    EXPECT_FALSE(container->UpdateResource());
    EXPECT_FALSE(container->RefreshResource());
    EXPECT_FALSE(container->ReleaseResource());
    EXPECT_EQ(container->Clone(), nullptr);
    EXPECT_EQ(container->Release(), 0);
}

TEST(GPUResourceCast, FollowsTheClassChain)
{
    CFakeCopyableResource copyable;
    IGPUResource* resource = &copyable;
    EXPECT_EQ(GPUResourceCast<CFakeCopyableResource>(resource), &copyable);
    EXPECT_EQ(GPUResourceCast<CFakeResource>(resource), &copyable);
    EXPECT_EQ(GPUResourceCast<CFakeMiscopiedResource>(resource), nullptr);
    EXPECT_EQ(GPUResourceCast<CFakeResource>(nullptr), nullptr);
}

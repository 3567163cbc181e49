#include "kelvo/gpu/GPUResourceManager.h"
#include "kelvo/gpu/ScopedResource.h"

#include "FakeResources.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
class CCountingSubscriber final : public ILoadResourceSubscriber
{
public:
    CCountingSubscriber(std::vector<int>* calls, int tag)
        : m_Calls(calls)
        , m_Tag(tag)
    {
    }
    void OnLoadResource() override { m_Calls->push_back(m_Tag); }

private:
    std::vector<int>* m_Calls;
    int m_Tag;
};

class GPUResourceManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { m_LiveAtStart = CFakeResource::s_LiveCount; }
    // Every test gives back all it holds: no resource may outlive it.
    void TearDown() override { EXPECT_EQ(CFakeResource::s_LiveCount, m_LiveAtStart); }
    int Live() const { return CFakeResource::s_LiveCount - m_LiveAtStart; }
    // Whether name leads to expected in the store of type; the look-up's reference goes back.
    testing::AssertionResult Finds(const std::string& name, uint32_t type, const GPUObjectHandle& expected)
    {
        const GPUObjectHandle* found = m_Manager.FindByName(name, type);
        if (found == nullptr)
            return testing::AssertionFailure() << name << " is not found";
        const bool same = *found == expected;
        if (!m_Manager.ReleaseResource(found))
            return testing::AssertionFailure() << "the look-up's reference on " << name << " did not go back";
        return same ? testing::AssertionSuccess() : testing::AssertionFailure() << name << " leads elsewhere";
    }

    CTestResourceManager m_Manager;
    int m_LiveAtStart = 0;
};
}

TEST_F(GPUResourceManagerTest, LoadingTwiceSharesOneResourceUntilTheLastRelease)
{
    // Every subscriber hears every load, in the order they subscribed.
    std::vector<int> loads;
    CCountingSubscriber subscriber(&loads, 1), later(&loads, 2);
    m_Manager.AddLoadResourceSubscriber(&subscriber);
    m_Manager.AddLoadResourceSubscriber(&later);

    GPUObjectHandle first, second;
    ASSERT_EQ(m_Manager.Load(kGPUObjectMesh, "ship.x", first), kGPUResultOk);
    ASSERT_EQ(m_Manager.Load(kGPUObjectMesh, "ship.x", second), kGPUResultOk);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.m_Type, kGPUObjectMesh);
    EXPECT_EQ(loads, (std::vector<int>{1, 2})); // the hit in the store loads nothing
    EXPECT_EQ(Live(), 1);
    auto* resource = static_cast<CFakeResource*>(m_Manager.GetResource(first));
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->m_FileName, "ship.x");

    // The first release keeps the object for the second holder.
    EXPECT_TRUE(m_Manager.ReleaseResource(&first));
    EXPECT_EQ(m_Manager.GetResource(second), resource);
    EXPECT_TRUE(m_Manager.ReleaseResource(&second));
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(m_Manager.GetResource(first), nullptr);
    EXPECT_EQ(m_Manager.FindByName("ship.x", kGPUObjectMesh), nullptr);
    EXPECT_FALSE(m_Manager.ReleaseResource(&first)); // one release too many is refused

    // The freed name loads the file again, as a new container.
    GPUObjectHandle reloaded;
    ASSERT_EQ(m_Manager.Load(kGPUObjectMesh, "ship.x", reloaded), kGPUResultOk);
    EXPECT_NE(reloaded.m_Id, first.m_Id);
    EXPECT_EQ(loads, (std::vector<int>{1, 2, 1, 2}));
    EXPECT_TRUE(m_Manager.ReleaseResource(&reloaded));

    // A failed load is announced too, and leaves nothing behind.
    GPUObjectHandle missing;
    EXPECT_EQ(m_Manager.Load(kGPUObjectEffect, "missing.e", missing), CFakeResource::kMissingFileCode);
    EXPECT_FALSE(missing.IsValid());
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(m_Manager.FindByName("missing.e", kGPUObjectEffect), nullptr);
    EXPECT_EQ(loads, (std::vector<int>{1, 2, 1, 2, 1, 2}));
}

TEST_F(GPUResourceManagerTest, FoundHandlesAreReferencesAndMayBeReleasedDirectly)
{
    GPUObjectHandle loaded;
    ASSERT_EQ(m_Manager.Load(kGPUObjectTexture, "wall.jpg", loaded), kGPUResultOk);
    // The same name in another store is another resource.
    EXPECT_EQ(m_Manager.FindByName("wall.jpg", kGPUObjectMesh), nullptr);

    const GPUObjectHandle* found = m_Manager.FindByName("wall.jpg", kGPUObjectTexture);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(*found, loaded);
    EXPECT_TRUE(m_Manager.ReleaseResource(&loaded));
    EXPECT_EQ(Live(), 1); // the look-up's reference still holds it
    // The last release passes the container's own handle; the store must not read it after.
    EXPECT_TRUE(m_Manager.ReleaseResource(found));
    EXPECT_EQ(Live(), 0);
    EXPECT_EQ(m_Manager.FindByName("wall.jpg", kGPUObjectTexture), nullptr);
}

TEST_F(GPUResourceManagerTest, IdsComeFromTheProcessWideCounter)
{
    const uint32_t before = NextProcessId();
    GPUObjectHandle handle;
    ASSERT_EQ(m_Manager.Add(kGPUObjectMaterial, "red", handle), kGPUResultOk);
    EXPECT_EQ(handle.m_Id, before + 1);
    // The next number drawn anywhere follows the id, so type numbers cannot collide with it.
    EXPECT_EQ(NextProcessId(), before + 2);
    EXPECT_TRUE(m_Manager.ReleaseResource(&handle));
}

TEST_F(GPUResourceManagerTest, HandlesOutsideTheStoresAreRefused)
{
    GPUObjectHandle loaded;
    ASSERT_EQ(m_Manager.Load(kGPUObjectMesh, "box.x", loaded), kGPUResultOk);
    GPUObjectHandle noStore = loaded;
    noStore.m_Type = 7;
    GPUObjectHandle wrongStore = loaded;
    wrongStore.m_Type = kGPUObjectTexture;
    GPUObjectHandle out;

    EXPECT_FALSE(m_Manager.ReleaseResource(nullptr));
    for (const GPUObjectHandle& bad : {noStore, wrongStore, GPUObjectHandle{}})
    {
        EXPECT_EQ(m_Manager.GetResource(bad), nullptr);
        EXPECT_FALSE(m_Manager.ReleaseResource(&bad));
        EXPECT_EQ(m_Manager.RenameResource(bad, "other.x"), kGPUResultHandleNotFound);
        EXPECT_EQ(m_Manager.CloneResource(bad, out), kGPUResultHandleNotFound);
    }
    EXPECT_EQ(m_Manager.FindByName("box.x", kGPUObjectTypeCount), nullptr);
    EXPECT_FALSE(out.IsValid());
    // None of that touched the real one.
    EXPECT_EQ(Live(), 1);
    EXPECT_TRUE(m_Manager.ReleaseResource(&loaded));
}

TEST_F(GPUResourceManagerTest, TakenNamesRefuseNewcomersAndRenamesMoveTheNameOrChangeNothing)
{
    GPUObjectHandle effect, other, refused;
    ASSERT_EQ(m_Manager.Load(kGPUObjectEffect, "default.e", effect), kGPUResultOk);
    ASSERT_EQ(m_Manager.Load(kGPUObjectEffect, "pressure.e", other), kGPUResultOk);
    // A resource added under a taken name is destroyed.
    EXPECT_EQ(m_Manager.Add(kGPUObjectEffect, "default.e", refused), kGPUResultNameInUse);
    EXPECT_FALSE(refused.IsValid());
    EXPECT_EQ(Live(), 2);

    // Conflicts, including the name it already has, leave both names where they were.
    EXPECT_EQ(m_Manager.RenameResource(effect, "pressure.e"), kGPUResultNameInUse);
    EXPECT_EQ(m_Manager.RenameResource(effect, "default.e"), kGPUResultNameInUse);
    EXPECT_TRUE(Finds("default.e", kGPUObjectEffect, effect));
    EXPECT_TRUE(Finds("pressure.e", kGPUObjectEffect, other));

    // A successful rename frees the old name for a new load of the file.
    ASSERT_EQ(m_Manager.RenameResource(effect, "default"), kGPUResultOk);
    EXPECT_TRUE(Finds("default", kGPUObjectEffect, effect));
    GPUObjectHandle reloaded;
    ASSERT_EQ(m_Manager.Load(kGPUObjectEffect, "default.e", reloaded), kGPUResultOk);
    EXPECT_NE(reloaded, effect);

    // Renaming to "" leaves it known by handle only, as are resources added without a name,
    // which never collide; the last release still cleans up.
    ASSERT_EQ(m_Manager.RenameResource(other, ""), kGPUResultOk);
    GPUObjectHandle unnamed;
    ASSERT_EQ(m_Manager.Add(kGPUObjectEffect, "", unnamed), kGPUResultOk);
    EXPECT_NE(unnamed, other);
    EXPECT_EQ(m_Manager.FindByName("pressure.e", kGPUObjectEffect), nullptr);
    EXPECT_EQ(m_Manager.FindByName("", kGPUObjectEffect), nullptr);
    EXPECT_NE(m_Manager.GetResource(other), nullptr);
    EXPECT_EQ(m_Manager.RenameResource(other, "again"), kGPUResultNameNotFound);

    for (GPUObjectHandle* handle : {&effect, &other, &reloaded, &unnamed})
        EXPECT_TRUE(m_Manager.ReleaseResource(handle));
}

TEST_F(GPUResourceManagerTest, CloneMakesAnUnnamedIndependentCopyOrGives45)
{
    GPUObjectHandle texture, miscopied, failed;
    ASSERT_EQ(m_Manager.Load<CFakeResource>(kGPUObjectTexture, "wall.jpg", texture), kGPUResultOk);
    ASSERT_EQ(m_Manager.Load<CFakeMiscopiedResource>(kGPUObjectMesh, "odd.x", miscopied), kGPUResultOk);
    EXPECT_EQ(m_Manager.CloneResource(texture, failed), kGPUResultCannotCopy);
    // A copy of the wrong class is refused and destroyed, not leaked.
    EXPECT_EQ(m_Manager.CloneResource(miscopied, failed), kGPUResultCannotCopy);
    EXPECT_FALSE(failed.IsValid());
    EXPECT_EQ(Live(), 2);
    EXPECT_TRUE(m_Manager.ReleaseResource(&texture));
    EXPECT_TRUE(m_Manager.ReleaseResource(&miscopied));

    GPUObjectHandle original, copy;
    ASSERT_EQ(m_Manager.Load(kGPUObjectMesh, "car.am", original), kGPUResultOk);
    ASSERT_EQ(m_Manager.CloneResource(original, copy), kGPUResultOk);
    EXPECT_NE(copy.m_Id, original.m_Id);
    EXPECT_EQ(copy.m_Type, kGPUObjectMesh);
    EXPECT_EQ(Live(), 2);

    auto* copied = GPUResourceCast<CFakeCopyableResource>(m_Manager.GetResource(copy));
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, m_Manager.GetResource(original));
    EXPECT_EQ(copied->m_FileName, "car.am");
    // The name still leads to the original only.
    EXPECT_TRUE(Finds("car.am", kGPUObjectMesh, original));

    EXPECT_TRUE(m_Manager.ReleaseResource(&original));
    EXPECT_EQ(m_Manager.GetResource(copy), copied);
    EXPECT_TRUE(m_Manager.ReleaseResource(&copy));
}

TEST_F(GPUResourceManagerTest, ScopedReferencesGoBackOnceWhereverTheyEnd)
{
    {
        CScopedResource held(&m_Manager);
        ASSERT_EQ(m_Manager.Load(kGPUObjectMesh, "ship.x", held.Receive()), kGPUResultOk);
        EXPECT_NE(held.Get<CFakeResource>(), nullptr);
        // A move hands the one reference on; the moved-from holder gives nothing back.
        CScopedResource moved(std::move(held));
        EXPECT_FALSE(held.GetHandle().IsValid());
        EXPECT_EQ(Live(), 1);
        // Receiving again gives the old reference back first.
        ASSERT_EQ(m_Manager.Load(kGPUObjectMesh, "boat.x", moved.Receive()), kGPUResultOk);
        EXPECT_EQ(m_Manager.FindByName("ship.x", kGPUObjectMesh), nullptr);
        EXPECT_EQ(Live(), 1);
    }
    EXPECT_EQ(Live(), 0);

    CScopedResource kept(&m_Manager);
    ASSERT_EQ(m_Manager.Load(kGPUObjectMesh, "ship.x", kept.Receive()), kGPUResultOk);
    GPUObjectHandle detached = kept.Detach();
    kept.Reset();
    EXPECT_EQ(Live(), 1);
    EXPECT_TRUE(m_Manager.ReleaseResource(&detached));
}

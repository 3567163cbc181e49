#include "kelvo/core/Rtti.h"

#include <gtest/gtest.h>

namespace
{
class CAnimal : public CRttiObject
{
    KELVO_RTTI(CAnimal, CRttiObject)
};
class CDog : public CAnimal
{
    KELVO_RTTI(CDog, CAnimal)
};
class CCat : public CAnimal
{
    KELVO_RTTI(CCat, CAnimal)
};
}

TEST(Rtti, NumbersAreDrawnOnFirstRequestFromTheSharedCounter)
{
    const uint32_t before = NextProcessId();
    const uint32_t dog = CDog::StaticTypeId();
    const uint32_t cat = CCat::StaticTypeId();
    EXPECT_EQ(dog, before + 1);
    EXPECT_EQ(cat, before + 2);
    EXPECT_EQ(CDog::StaticTypeId(), dog); // kept, not drawn again
    EXPECT_EQ(NextProcessId(), before + 3);
}

TEST(Rtti, IsKindOfWalksTheBaseChain)
{
    CDog dog;
    const CRttiObject& object = dog;
    EXPECT_EQ(object.GetTypeId(), CDog::StaticTypeId());
    EXPECT_TRUE(object.IsKindOf(CDog::StaticTypeId()));
    EXPECT_TRUE(object.IsKindOf(CAnimal::StaticTypeId()));
    EXPECT_TRUE(object.IsKindOf(CRttiObject::StaticTypeId()));
    EXPECT_FALSE(object.IsKindOf(CCat::StaticTypeId()));
}

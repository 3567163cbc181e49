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

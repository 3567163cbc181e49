#include "kelvo/core/Rtti.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
// Asked for their numbers only inside a child process, so every run finds them undrawn,
// whatever ran before in this process.
class CNeverAskedHere : public CRttiObject
{
    KELVO_RTTI(CNeverAskedHere, CRttiObject)
};
class CAlsoNeverAskedHere : public CRttiObject
{
    KELVO_RTTI(CAlsoNeverAskedHere, CRttiObject)
};
}

TEST(Rtti, NumbersAreDrawnOnFirstRequestFromTheSharedCounter)
{
    EXPECT_EXIT(
        {
            const uint32_t before = NextProcessId();
            const uint32_t first = CNeverAskedHere::StaticTypeId();
            const uint32_t second = CAlsoNeverAskedHere::StaticTypeId();
            const bool kept = CNeverAskedHere::StaticTypeId() == first; // not drawn again
            const bool drawn = first == before + 1 && second == before + 2 && NextProcessId() == before + 3;
            std::exit(kept && drawn ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
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

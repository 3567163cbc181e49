// Shared pieces of the world and core tests: objects that delete their components (the
// engine never does), placing them, a scripted keyboard and cursor, and vector and matrix
// comparison.
#pragma once

#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "support/OwningObject.h"

#include "kelvo/core/GameObject.h"
#include "kelvo/core/Math.h"
#include "kelvo/core/ObjectTree.h"
#include "kelvo/core/InputQueries.h"
#include "kelvo/world/3DObjectLogic.h"

using CTestObject = COwning<CGameObject>;

// The object's transform (added when it has none) given a local matrix and updated.
inline C3DObjectLogic* Place(CGameObject& object, const SMatrix& local)
{
    C3DObjectLogic* logic = object.AddLogic<C3DObjectLogic>();
    STransformState state = logic->GetTransformState();
    state.local = local;
    logic->SetTransformState(state);
    logic->Update();
    return logic;
}

// A keyboard and cursor the test sets by hand.
struct SScriptedInput
{
    static inline bool s_Held[256] = {};
    static inline int32_t s_CursorX = 0;
    static inline int32_t s_CursorY = 0;

    static void Reset()
    {
        std::memset(s_Held, 0, sizeof(s_Held));
        s_CursorX = s_CursorY = 0;
    }
    static SInputQueries Queries()
    {
        SInputQueries queries;
        queries.keyState = [](uint32_t key) -> int16_t { return key < 256 && s_Held[key] ? -128 : 0; };
        queries.cursorPos = [](int32_t& x, int32_t& y) {
            x = s_CursorX;
            y = s_CursorY;
        };
        return queries;
    }
};

inline void ExpectVectorNear(const SVector3& actual, const SVector3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectMatrixNear(const SMatrix& actual, const SMatrix& expected, float tolerance = 1e-5f)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

// Updates every object under root for one logic kind, parents first, on this thread.
inline void UpdateKind(CGameObject* root, uint32_t logicKind)
{
    struct SNoQueue
    {
        void Add(ILogicUpdate*, uint32_t) {}
    };
    WalkObjectTree<SNoQueue>(root, logicKind, nullptr);
}

#include "brovell/demo/Harlune1.h"
#include "brovell/scenes/Scene.h"

#include "../../kelvo/world/WorldTestHelpers.h"
#include "kelvo/world/BeingObjectLogic.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// The show with its walker hand-off opened up.
class CTestHarlune1 : public CHarlune1
{
public:
    using CHarlune1::PlaceWalker;
};
}

TEST(Harlune1, ACameraMatrixReplacesOnlyTheWalkersLocalMatrix)
{
    CTestHarlune1 demo;
    demo.PlaceWalker(MatrixTranslation(1.0f, 2.0f, 3.0f)); // no walker yet: nothing happens

    CBeingObjectLogic walker;
    STransformState state = walker.GetTransformState();
    state.local = MatrixTranslation(0.0f, 0.0f, 100.0f);
    state.world = MatrixTranslation(9.0f, 9.0f, 9.0f);
    walker.SetTransformState(state);
    demo.SetWalker(&walker);

    const SMatrix camera = MatrixTranslation(4.0f, 5.0f, 6.0f);
    demo.PlaceWalker(camera);
    ExpectMatrixNear(walker.GetTransformState().local, camera, 0.0f);
    ExpectMatrixNear(walker.GetTransformState().world, state.world, 0.0f);
}

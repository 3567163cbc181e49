#include "brovell/tracer/DynamicResolution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
// Frames of otherMs plus a trace of fixedMs and pixelMs times the traced area, each time
// varying by up to noise (a share), reproducibly.
struct SMachine
{
    double otherMs, fixedMs, pixelMs, noise = 0.1;
    uint32_t seed = 1;

    double Jitter()
    {
        seed = seed * 1664525u + 1013904223u;
        return 1.0 + noise * ((seed >> 8) / double(1u << 24) * 2.0 - 1.0);
    }
    // The largest share whose noise-free frame fits the target.
    float Best(double targetMs) const
    {
        const double area = std::max((targetMs - otherMs - fixedMs) / pixelMs, 0.0);
        return static_cast<float>(std::clamp(std::sqrt(area), 0.25, 1.0));
    }
};

struct SRun
{
    float scale = 0.0f;
    float largestStep = 0.0f;  // while frames keep near the target
    int slideShowFrames = 0;   // frames over twice the target
    float lateMovement = 0.0f; // summed changes over the last 100 frames
    double lateWorstMs = 0.0;
};

SRun Play(CDynamicResolution& controller, SMachine& machine, int frames)
{
    SRun run;
    run.scale = controller.GetScale();
    const double target = controller.GetTargetMs();
    for (int frame = 0; frame < frames; ++frame)
    {
        const double traceMs = (machine.fixedMs + machine.pixelMs * run.scale * run.scale) * machine.Jitter();
        const double frameMs = machine.otherMs * machine.Jitter() + traceMs;
        const float next = controller.AddFrame(frameMs, traceMs);
        EXPECT_TRUE(next >= CDynamicResolution::kMinScale && next <= 1.0f) << next;
        if (frameMs <= target * 1.2)
            run.largestStep = std::max(run.largestStep, std::fabs(next - run.scale));
        run.slideShowFrames += frameMs > target * 2.0;
        if (frame >= frames - 100)
        {
            run.lateMovement += std::fabs(next - run.scale);
            run.lateWorstMs = std::max(run.lateWorstMs, frameMs);
        }
        run.scale = next;
    }
    return run;
}
}

TEST(DynamicResolutionTest, SettlesJustUnderTheTargetWithoutPumpingOnAnyMachine)
{
    const double target = CDynamicResolution::kDefaultTargetMs;
    const SMachine machines[] = {
        {2.0, 1.0, 10.0}, {8.0, 2.0, 120.0}, {12.0, 4.0, 400.0}, {30.0, 5.0, 900.0}, {6.0, 3.0, 60.0, 0.3},
    };
    for (SMachine machine : machines)
    {
        CDynamicResolution controller;
        const SRun run = Play(controller, machine, 400);
        const float best = machine.Best(target);
        SCOPED_TRACE(testing::Message() << "machine " << machine.pixelMs << " ms, best share " << best);
        EXPECT_LE(run.scale, best + 0.01f);
        EXPECT_GE(run.scale, best * 0.8f);
        EXPECT_LE(run.largestStep, 0.041f);
        EXPECT_LT(run.lateMovement, 0.2f);
        // A slow machine leaves the slide show of the whole image within a few frames, and
        // then keeps under the target.
        if (best > CDynamicResolution::kMinScale)
        {
            EXPECT_LE(run.slideShowFrames, 4);
        }
        if (best > CDynamicResolution::kMinScale && best < 1.0f && machine.noise <= 0.1)
        {
            EXPECT_LE(run.lateWorstMs, target * 1.05);
        }
    }
}

TEST(DynamicResolutionTest, ComesBackWhenTheLoadGoesIgnoresPausesAndHoldsAPin)
{
    CDynamicResolution controller;
    SMachine loaded{10.0, 2.0, 100.0};
    const float before = Play(controller, loaded, 200).scale;
    EXPECT_LT(before, 0.5f);
    // A long pause between frames (another scene played) is not taken for slow frames, nor
    // are times that cannot be.
    EXPECT_NEAR(controller.AddFrame(40000.0, 2.0 + 100.0 * before * before), before, 0.02f);
    EXPECT_EQ(controller.AddFrame(NAN, 1.0), controller.AddFrame(10.0, -1.0));
    SMachine idle{2.0, 1.0, 20.0};
    EXPECT_EQ(Play(controller, idle, 200).scale, 1.0f);

    controller.Pin(0.1f);
    EXPECT_EQ(controller.GetScale(), CDynamicResolution::kMinScale);
    controller.Pin(0.5f);
    EXPECT_EQ(Play(controller, loaded, 50).scale, 0.5f);
}

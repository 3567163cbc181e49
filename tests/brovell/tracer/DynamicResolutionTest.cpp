#include "brovell/tracer/DynamicResolution.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
// A machine whose frames take otherMs plus a trace of fixedMs and pixelMs for the whole
// image, the pixels' part in proportion to the traced area; every time varies by up to
// noise (a share) from frame to frame, reproducibly.
struct SMachine
{
    double otherMs;
    double fixedMs;
    double pixelMs;
    double noise = 0.1;
    uint32_t seed = 1;

    double Jitter()
    {
        seed = seed * 1664525u + 1013904223u;
        return 1.0 + noise * ((seed >> 8) / double(1u << 24) * 2.0 - 1.0);
    }
    double TraceMs(float scale) { return (fixedMs + pixelMs * scale * scale) * Jitter(); }
};

struct SRun
{
    float finalScale = 0.0f;
    float largestStep = 0.0f;   // while frames keep near the target
    int slideShowFrames = 0;    // frames over twice the target
    float lateMovement = 0.0f; // summed changes over the last 100 frames
    double lateWorstFrameMs = 0.0;
};

SRun Play(CDynamicResolution& controller, SMachine& machine, int frames)
{
    SRun run;
    float scale = controller.GetScale();
    for (int frame = 0; frame < frames; ++frame)
    {
        const double traceMs = machine.TraceMs(scale);
        const double frameMs = machine.otherMs * machine.Jitter() + traceMs;
        const float next = controller.AddFrame(frameMs, traceMs);
        EXPECT_GE(next, CDynamicResolution::kMinScale);
        EXPECT_LE(next, 1.0f);
        if (frameMs <= controller.GetTargetMs() * 1.2)
            run.largestStep = std::max(run.largestStep, std::fabs(next - scale));
        run.slideShowFrames += frameMs > controller.GetTargetMs() * 2.0;
        if (frame >= frames - 100)
        {
            run.lateMovement += std::fabs(next - scale);
            run.lateWorstFrameMs = std::max(run.lateWorstFrameMs, frameMs);
        }
        scale = next;
    }
    run.finalScale = scale;
    return run;
}

// The largest share whose noise-free frame fits the target.
float BestScale(const SMachine& machine, double targetMs)
{
    const double area = (targetMs - machine.otherMs - machine.fixedMs) / machine.pixelMs;
    return static_cast<float>(std::clamp(std::sqrt(std::max(area, 0.0)), 0.25, 1.0));
}
}

TEST(DynamicResolutionTest, SettlesJustUnderTheTargetWithoutPumpingOnAnyMachine)
{
    const double target = CDynamicResolution::kDefaultTargetMs;
    const SMachine machines[] = {
        {2.0, 1.0, 10.0},    // fast: the whole image fits
        {8.0, 2.0, 120.0},   // slow: part of the image
        {12.0, 4.0, 400.0},  // very slow: near the smallest share
        {30.0, 5.0, 900.0},  // hopeless: the smallest share
        {6.0, 3.0, 60.0, 0.3},
    };
    for (SMachine machine : machines)
    {
        CDynamicResolution controller;
        const SRun run = Play(controller, machine, 400);
        const float best = BestScale(machine, target);
        SCOPED_TRACE(testing::Message() << "machine " << machine.pixelMs << " ms, best share " << best);
        EXPECT_LE(run.finalScale, best + 0.01f);
        EXPECT_GE(run.finalScale, best * 0.8f);
        EXPECT_LE(run.largestStep, 0.041f);
        EXPECT_LT(run.lateMovement, 0.2f);
        // From the whole image a slow machine leaves a slide show within a few frames, and
        // then keeps under the target.
        if (best > CDynamicResolution::kMinScale)
        {
            EXPECT_LE(run.slideShowFrames, 4);
        }
        if (best > CDynamicResolution::kMinScale && best < 1.0f && machine.noise <= 0.1)
        {
            EXPECT_LE(run.lateWorstFrameMs, target * 1.05);
        }
    }
}

TEST(DynamicResolutionTest, ComesBackToTheWholeImageWhenTheLoadGoesAndIgnoresPauses)
{
    CDynamicResolution controller;
    SMachine loaded{10.0, 2.0, 300.0};
    EXPECT_LT(Play(controller, loaded, 200).finalScale, 0.5f);
    // A long pause between frames (another scene played) is not taken for slow frames.
    const float before = controller.GetScale();
    EXPECT_NEAR(controller.AddFrame(40000.0, loaded.TraceMs(before)), before, 0.04f);
    SMachine idle{2.0, 1.0, 20.0};
    EXPECT_EQ(Play(controller, idle, 200).finalScale, 1.0f);
}

TEST(DynamicResolutionTest, APinnedShareIgnoresTheTimesAndBadTimesChangeNothing)
{
    CDynamicResolution controller;
    controller.Pin(0.1f);
    EXPECT_EQ(controller.GetScale(), CDynamicResolution::kMinScale);
    controller.Pin(0.5f);
    SMachine slow{30.0, 5.0, 900.0};
    EXPECT_EQ(Play(controller, slow, 50).finalScale, 0.5f);
    controller.Unpin();
    EXPECT_EQ(controller.AddFrame(NAN, 1.0), 0.5f);
    EXPECT_EQ(controller.AddFrame(10.0, -1.0), 0.5f);
    EXPECT_LT(controller.AddFrame(500.0, 450.0), 0.5f);
}

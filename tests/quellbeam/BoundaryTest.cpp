// The library as the program sees it: loaded with dlopen, one export, one tracer object whose
// ITracer side is reached by a run-time cast across the library boundary.
#include "platform/DynamicLibrary.h"
#include "quellbeam/MemoryTexture.h"
#include "quellbeam/RayTracer.h"
#include "support/CaptureStderr.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// One test: the library's tracer is set up for the rest of the process once it has textures.
TEST(Boundary, OneTracerBehindOneExportTracesOnTheCpuWithoutADeviceAndSaysWhyInOneLine)
{
    // Hides every device from the CUDA runtime, as on a machine without GPU or driver.
    setenv("CUDA_VISIBLE_DEVICES", "-1", 1);
    platform::CDynamicLibrary library;
    ASSERT_TRUE(library.Open(QUELLBEAM_LIBRARY_PATH)) << library.GetError();
    auto getRayTracer = reinterpret_cast<IRayTracer* (*)()>(library.FindSymbol("GetRayTracer"));
    ASSERT_NE(getRayTracer, nullptr) << library.GetError();
    IRayTracer* rayTracer = getRayTracer();
    ASSERT_NE(rayTracer, nullptr);
    EXPECT_EQ(getRayTracer(), rayTracer);

    ITracer* tracer = dynamic_cast<ITracer*>(rayTracer);
    ASSERT_NE(tracer, nullptr);
    // The second interface is a different sub-object of the same tracer.
    EXPECT_NE(static_cast<void*>(tracer), static_cast<void*>(rayTracer));
    EXPECT_EQ(dynamic_cast<void*>(tracer), dynamic_cast<void*>(rayTracer));

    // Only the one export is visible; the tracer's classes stay inside the library.
    EXPECT_EQ(library.FindSymbol("DebugLog"), nullptr);
    EXPECT_EQ(library.FindSymbol("_ZN9quellbeam11CGeomTracer6UpdateEv"), nullptr);

    // Before the device is set up a frame does nothing.
    rayTracer->Prepare();
    rayTracer->Trace();
    rayTracer->Finish();
    EXPECT_TRUE(rayTracer->SetScreenSize(1280, 960));

    quellbeam::CMemoryTexture output(128, 8, kTracerTextureFloat4);
    quellbeam::CMemoryTexture input(4, 4, kTracerTextureFloat4);
    const std::string log = CaptureStderr([&] { rayTracer->SetGLData(&output, &input); });
    const size_t reason = log.find("tracing on the CPU");
    ASSERT_NE(reason, std::string::npos) << log;
    EXPECT_EQ(log.find("tracing on the CPU", reason + 1), std::string::npos) << log;
    EXPECT_NE(log.find("[CGeomTracer::SetGLData] Starting CPU\n"), std::string::npos) << log;

    // The frame is traced: a camera above the start balls looking up sees the sky gradient.
    ASSERT_TRUE(rayTracer->SetScreenSize(128, 8));
    const SViewBlock view = {{0, 200, 0, 1},
                             {{-1, 1, -0.2f, 0}, {1, 1, -0.2f, 0}, {-1, 1, 0.2f, 0}, {1, 1, 0.2f, 0}}};
    rayTracer->Prepare();
    rayTracer->SetView(&view);
    rayTracer->Trace();
    rayTracer->Finish();
    EXPECT_GT(output.Texel(64, 4)[2], output.Texel(64, 4)[0]);
    EXPECT_GT(output.Texel(64, 4)[2], 0.9f);
}

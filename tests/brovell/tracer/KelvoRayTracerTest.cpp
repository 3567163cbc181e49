#include "brovell/tracer/KelvoRayTracer.h"
#include "brovell/tracer/RayTracerLoader.h"

#include "support/CaptureStderr.h"

#include <gtest/gtest.h>

TEST(RayTracerLoader, MissingLibraryLogsHandleZeroAndGivesNoTracer)
{
    IRayTracer* tracer = reinterpret_cast<IRayTracer*>(1);
    const std::string log =
        CaptureStderr([&] { tracer = LoadRayTracer("/nonexistent/", "libquellbeam_missing.so"); });
    EXPECT_EQ(tracer, nullptr);
    EXPECT_NE(log.find("[__get_quellbeam] lib: 0\n"), std::string::npos) << log;
    // The loader's reason, for the copy beside the program.
    EXPECT_NE(log.find("libquellbeam_missing.so: /nonexistent/libquellbeam_missing.so: cannot open"),
              std::string::npos)
        << log;
}

TEST(KelvoRayTracer, WithoutLibraryTheImageIsEmptyAndNothingIsTraced)
{
    CKelvoRayTracer client(nullptr);
    client.CreateRenderTargets(1920, 1080);
    EXPECT_EQ(client.GetWidth(), 0);
    EXPECT_EQ(client.GetHeight(), 0);
    client.SetTexture("metal.jpg");
    client.Render(nullptr);
    EXPECT_EQ(client.GetTracer(), nullptr);
}

#include "brovell/tracer/KelvoRayTracer.h"
#include "brovell/tracer/RayTracerLoader.h"

#include "support/CaptureStderr.h"
#include "kelvo/gpu/Var.h"
#include "kelvo/gpu/VarManager.h"

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
    // The effects' scale variables are set all the same.
    float scaleX = 0.0f, scaleY = 0.0f;
    ASSERT_TRUE(GetVariable("r_rt_scale_x", 4)->GetFloat(scaleX));
    ASSERT_TRUE(GetVariable("r_rt_scale_y", 4)->GetFloat(scaleY));
    EXPECT_NEAR(scaleX, 1280.0f / 1920.0f, 1e-6f);
    EXPECT_NEAR(scaleY, 960.0f / 1080.0f, 1e-6f);
    client.SetTexture("metal.jpg");
    client.Render(nullptr);
    EXPECT_EQ(client.GetTracer(), nullptr);
}

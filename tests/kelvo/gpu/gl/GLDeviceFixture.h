// Fixture for tests that draw: a GL context with a created device (640x480 back buffer and
// the shared depth surface).
#pragma once

#include "GLTestContext.h"

#include "kelvo/gpu/gl/GLDevice.h"

class GLDeviceTestBase : public GLTest
{
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        GLenum error = GL_NO_ERROR;
        ASSERT_TRUE(m_Device.Create(error)) << std::hex << error;
        ASSERT_TRUE(m_Device.CreateBackBuffer(640, 480, error)) << std::hex << error;
        ASSERT_TRUE(m_Device.CreateDepthSurface(error)) << std::hex << error;
    }

    CGLDevice m_Device;
};

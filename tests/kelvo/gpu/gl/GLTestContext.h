// The GL test harness: a headless OpenGL 3.3 core context through EGL (surfaceless platform,
// llvmpipe on machines without a GPU), made current for the test that owns it. A small
// pbuffer stands in for the window, so the default framebuffer exists and can be read back.
// GLTest is the fixture every GL test derives from; it skips the test when no EGL display
// can be had at all.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

class CGLTestContext
{
public:
    CGLTestContext() = default;
    CGLTestContext(const CGLTestContext&) = delete;
    CGLTestContext& operator=(const CGLTestContext&) = delete;
    ~CGLTestContext();

    // Creates the context with a windowWidth x windowHeight pbuffer and makes it current.
    // On failure returns false and says why in error.
    bool Create(uint32_t windowWidth, uint32_t windowHeight, std::string& error);

    // Shows the default framebuffer (the pbuffer has no visible front; this completes the
    // frame the way a window's swap would).
    void SwapBuffers();

    // Reads the default framebuffer as packed 0xAARRGGBB texels, row 0 at the top.
    std::vector<uint32_t> ReadWindow() const;

private:
    void* m_Display = nullptr;
    void* m_Context = nullptr;
    void* m_Surface = nullptr;
    uint32_t m_Width = 0;
    uint32_t m_Height = 0;
};

class GLTest : public ::testing::Test
{
public:
    // Size of the pbuffer that stands in for the window.
    static constexpr uint32_t kWindowWidth = 320;
    static constexpr uint32_t kWindowHeight = 240;

protected:
    void SetUp() override;

    CGLTestContext m_Context;
};

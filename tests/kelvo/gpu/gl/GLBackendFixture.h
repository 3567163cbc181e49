// Fixture for tests of the GL backend and its resources: a GL test context behind a window
// stand-in, a backend initialised on it, and a data folder registered once per process
// with default.e from the assets and the test's own files.
#pragma once

#include "GLTestContext.h"

#include "kelvo/core/Rtti.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/gpu/gl/GLWindowSurface.h"
#include "kelvo/gpu/gl/GPUImplementationGL.h"
#include "kelvo/gpu/gl/TextureGL.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The window as the backend sees it, over the test context's pbuffer.
class CTestWindow : public CRttiObject, public IGLWindowSurface
{
public:
    explicit CTestWindow(CGLTestContext* context)
        : m_Context(context)
    {
    }

    bool MakeContextCurrent() override { return true; }
    void GetClientSize(uint32_t& outWidth, uint32_t& outHeight) const override
    {
        outWidth = m_ClientWidth;
        outHeight = m_ClientHeight;
    }
    void GetDesktopSize(uint32_t& outWidth, uint32_t& outHeight) const override
    {
        outWidth = m_DesktopWidth;
        outHeight = m_DesktopHeight;
    }
    void SwapBuffers() override
    {
        ++m_SwapCount;
        m_Context->SwapBuffers();
    }

    uint32_t m_ClientWidth = GLTest::kWindowWidth;
    uint32_t m_ClientHeight = GLTest::kWindowHeight;
    uint32_t m_DesktopWidth = 1920;
    uint32_t m_DesktopHeight = 1080;
    int m_SwapCount = 0;

private:
    CGLTestContext* m_Context;
};

// Registers the test data folder (first call only) and gives its path.
const std::string& TestDataFolder();

// Writes a PNG (or, for a ".jpg" path, a JPEG) whose texel (x, y) is colorAt(x, y), 0xAARRGGBB.
void WritePicture(const std::filesystem::path& path, uint32_t width, uint32_t height,
                  const std::function<uint32_t(uint32_t, uint32_t)>& colorAt);

// The first four bytes of a variable, as a whole number or a float.
template <typename T>
T Variable(const std::string& name)
{
    T value{};
    std::memcpy(&value, GetVariable(name, 4)->GetData(), sizeof(value));
    return value;
}

class GLBackendTestBase : public GLTest
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Gives back a built-in resource's own reference (and the look-up's).
    void ReleaseBuiltIn(uint32_t type, const std::string& name);
    // Keeps a handle that a creation or load gave with result until the test ends, and gives
    // its resource as a T (null when the result is a failure).
    template <class T>
    T* Hold(uint32_t result, const GPUObjectHandle& handle)
    {
        if (result != 0)
            return nullptr;
        m_Held.push_back(handle);
        return GPUResourceCast<T>(m_Backend->GetResource(handle));
    }
    // A held width x height render target of the format, made current and cleared to the
    // packed colour clear.
    CTextureGL* UseTarget(uint32_t width, uint32_t height, uint32_t format, uint32_t clear);
    // The first texel of a render target of four floats.
    static std::vector<float> FirstTexel(CTextureGL& target)
    {
        std::vector<uint8_t> bytes;
        EXPECT_EQ(target.ReadBack(bytes), 0u);
        std::vector<float> texel(4);
        std::memcpy(texel.data(), bytes.data(), 16);
        return texel;
    }

    std::unique_ptr<CTestWindow> m_Window;
    std::unique_ptr<CGPUImplementationGL> m_Backend;
    std::vector<GPUObjectHandle> m_Held;
};

#include "GLTestContext.h"

#include "platform/DynamicLibrary.h"

#include <epoxy/egl.h>
#include <epoxy/gl.h>

namespace
{
// The display is initialised once per process and kept while tests run: terminating and
// re-initialising Mesa's EGL for every test costs more than the tests themselves. It is
// terminated when the tests end, before the process exits, so that the driver's threads
// have been joined when the leak checker stops the world at exit (it cannot stop threads
// that are still working inside the driver, and then fails by itself).
class CSharedDisplay : public testing::Environment
{
public:
    EGLDisplay Get(std::string& error)
    {
        if (!m_Tried)
        {
            m_Tried = true;
            m_Display = Open(m_Error);
        }
        error = m_Error;
        return m_Display;
    }

    void TearDown() override
    {
        if (m_Display != EGL_NO_DISPLAY)
        {
            eglMakeCurrent(m_Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            // Terminating the display unloads the driver; kept mapped, what it leaked stays
            // attributable to it.
            platform::KeepLoadedLibrariesUntilExit();
            eglTerminate(m_Display);
            eglReleaseThread();
        }
        m_Display = EGL_NO_DISPLAY;
        m_Error.clear();
        m_Tried = false;
    }

private:
    static EGLDisplay Open(std::string& error)
    {
        EGLDisplay display = EGL_NO_DISPLAY;
        if (epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless"))
            display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display == EGL_NO_DISPLAY)
            display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
        EGLint major = 0, minor = 0;
        if (display != EGL_NO_DISPLAY && eglInitialize(display, &major, &minor))
            return display;
        error = "no EGL display could be created (no EGL surfaceless or default platform)";
        return EGL_NO_DISPLAY;
    }

    EGLDisplay m_Display = EGL_NO_DISPLAY;
    std::string m_Error;
    bool m_Tried = false;
};

// Owned by GoogleTest, which tears it down after the last test of each run.
CSharedDisplay* const s_SharedDisplay =
    static_cast<CSharedDisplay*>(testing::AddGlobalTestEnvironment(new CSharedDisplay));

EGLDisplay SharedDisplay(std::string& error)
{
    return s_SharedDisplay->Get(error);
}
}

CGLTestContext::~CGLTestContext()
{
    if (m_Display == nullptr)
        return;
    EGLDisplay display = m_Display;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (m_Surface != nullptr)
        eglDestroySurface(display, m_Surface);
    if (m_Context != nullptr)
        eglDestroyContext(display, m_Context);
}

bool CGLTestContext::Create(uint32_t windowWidth, uint32_t windowHeight, std::string& error)
{
    const auto fail = [&](const char* reason) {
        error = reason;
        return false;
    };
    EGLDisplay display = SharedDisplay(error);
    if (display == EGL_NO_DISPLAY)
        return false;
    if (!eglBindAPI(EGL_OPENGL_API))
        return fail("eglBindAPI(EGL_OPENGL_API) failed");
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_ALPHA_SIZE,
                                       8,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configCount) || configCount < 1)
        return fail("no RGBA8 pbuffer EGL config");
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                        3,
                                        EGL_CONTEXT_MINOR_VERSION,
                                        3,
                                        EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                        EGL_NONE};
    m_Display = display;
    // EGL_NO_CONTEXT and EGL_NO_SURFACE are null: a failed creation leaves nothing to destroy.
    m_Context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (m_Context == EGL_NO_CONTEXT)
        return fail("no OpenGL 3.3 core context");
    const EGLint surfaceAttributes[] = {EGL_WIDTH, static_cast<EGLint>(windowWidth), EGL_HEIGHT,
                                        static_cast<EGLint>(windowHeight), EGL_NONE};
    m_Surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (m_Surface == EGL_NO_SURFACE)
        return fail("no pbuffer surface");
    if (!eglMakeCurrent(display, m_Surface, m_Surface, m_Context))
        return fail("eglMakeCurrent failed");
    m_Width = windowWidth;
    m_Height = windowHeight;
    return true;
}

void CGLTestContext::SwapBuffers()
{
    eglSwapBuffers(m_Display, m_Surface);
}

std::vector<uint32_t> CGLTestContext::ReadWindow() const
{
    std::vector<uint32_t> texels(static_cast<std::size_t>(m_Width) * m_Height);
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(0, 0, static_cast<GLsizei>(m_Width), static_cast<GLsizei>(m_Height), GL_BGRA,
                 GL_UNSIGNED_BYTE, texels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
    // GL's window rows run bottom up; the tests compare with row 0 on top.
    std::vector<uint32_t> topDown(texels.size());
    for (uint32_t row = 0; row < m_Height; ++row)
        std::copy_n(texels.begin() + static_cast<std::ptrdiff_t>(row) * m_Width, m_Width,
                    topDown.begin() + static_cast<std::ptrdiff_t>(m_Height - 1 - row) * m_Width);
    return topDown;
}

void GLTest::SetUp()
{
    std::string error;
    if (!m_Context.Create(kWindowWidth, kWindowHeight, error))
    {
        if (error.find("no EGL display") != std::string::npos)
            GTEST_SKIP() << "GL tests need an EGL display: " << error;
        FAIL() << "GL test context: " << error;
    }
}

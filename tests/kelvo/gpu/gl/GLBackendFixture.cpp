#include "GLBackendFixture.h"

#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/ResourceManager.h"
#include "pictures/RgbaImage.h"
#include "../../../support/TestFiles.h"

namespace
{
const char* const kShaders = R"(
vertex_shader vs
{
    void main() { gl_Position = vec4(in_position.xy * 2.0 - 1.0, 0.0, 1.0); }
}
)";
}

void WritePicture(const std::filesystem::path& path, uint32_t width, uint32_t height,
                  const std::function<uint32_t(uint32_t, uint32_t)>& colorAt)
{
    CRgbaImage image(width, height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint32_t c = colorAt(x, y);
            image.At(x, y) = {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                              static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 24)};
        }
    EXPECT_TRUE(path.extension() == ".jpg" ? image.WriteJpeg(path.string(), 100)
                                           : image.WritePng(path.string()))
        << path;
}

const std::string& TestDataFolder()
{
    static std::string folder;
    if (!folder.empty())
        return folder;
    folder = MakeScratchFolder("kelvo_gl_tests");
    const std::filesystem::path root = folder;
    WriteFile(root / "default.e", ReadFile(std::string(BROVELL_ASSETS_DIR) + "/default.e"));

    // Two techniques whose outputs show which variables were bound.
    WriteFile(root / "two_techniques.e", std::string(R"(float4 r_tt_a;
float4 r_tt_b;
float4 r_tt_c;
float r_tt_unused;
)") + kShaders + R"(
pixel_shader ps_sum { layout(location = 0) out vec4 o; void main() { o = r_tt_a + r_tt_b; } }
pixel_shader ps_c { layout(location = 0) out vec4 o; void main() { o = r_tt_c + r_tt_b; } }
technique sum < string params = "  r_tt_a   r_tt_b "; > { pass P0 { VertexShader = vs; PixelShader = ps_sum; } }
technique only_c < string params = "r_tt_c"; >
{
    pass P0 { VertexShader = vs; PixelShader = ps_c; }
    pass P1 { VertexShader = vs; PixelShader = ps_sum; }
}
technique nothing { pass P0 { VertexShader = vs; PixelShader = ps_c; } }
)");
    WriteFile(root / "size_conflict.e", std::string("float r_sc_float;\n") + kShaders + R"(
pixel_shader ps { layout(location = 0) out vec4 o; void main() { o = vec4(r_sc_float); } }
technique t < string params = "r_sc_float"; > { pass P0 { VertexShader = vs; PixelShader = ps; } }
)");
    WriteFile(root / "broken_shader.e", std::string(kShaders) + R"(
pixel_shader ps
{
    layout(location = 0) out vec4 o;
    void main() { o = undeclared_colour; }
}
technique t { pass P0 { VertexShader = vs; PixelShader = ps; } }
)");
    WriteFile(root / "empty.e", "");
    // One technique "t" whose "params" annotation the backend must refuse.
    const auto writeParams = [&](const char* file, const std::string& annotation) {
        WriteFile(root / file,
                  "float4 r_pa_a;\n" + std::string(kShaders) +
                      "pixel_shader ps { layout(location = 0) out vec4 o; void main() { o = r_pa_a; } }\n"
                      "technique t < " +
                      annotation + "; > { pass P0 { VertexShader = vs; PixelShader = ps; } }\n");
    };
    writeParams("undeclared_params.e", "string params = \"r_pa_a r_ud_missing\"");
    writeParams("long_params.e", "string params = \"r_pa_a" + std::string(506, ' ') + "\"");
    writeParams("number_params.e", "float params = 1.0");

    // 4 x 2 picture: top row red, green, blue, white; bottom row black.
    const uint32_t top[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
    WritePicture(root / "rows.png", 4, 2,
                 [&](uint32_t x, uint32_t y) { return y == 0 ? top[x] : 0xFF000000u; });
    WriteFile(root / "not_a_picture.png", "this is text, not a picture\n");
    // The texture of untextured materials.
    WritePicture(root / "white.jpg", 1, 1, [](uint32_t, uint32_t) { return 0xFFFFFFFFu; });

    CResourceManager::Instance().ScanDirectory(folder);
    return folder;
}

void GLBackendTestBase::SetUp()
{
    GLTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    TestDataFolder();
    m_Window = std::make_unique<CTestWindow>(&m_Context);
    m_Backend = std::make_unique<CGPUImplementationGL>();
    ASSERT_EQ(m_Backend->Initialize(m_Window.get(), true), 0u);
}

void GLBackendTestBase::TearDown()
{
    if (m_Backend != nullptr)
    {
        // What the test held goes first, off the render target it may still be bound to.
        if (!m_Held.empty())
            m_Backend->SetDefaultRenderTarget();
        for (const GPUObjectHandle& handle : m_Held)
            m_Backend->ReleaseResource(&handle);
        m_Held.clear();
        // The built-in resources keep their one reference for the backend's life; give it
        // back, so that only what a test forgot to release shows up as a leak. Materials go
        // first: they hold references on the effect and on "white.jpg".
        for (const char* name :
             {"red", "green", "blue", "ambient_red", "ambient_green", "ambient_blue", "white", "default"})
            ReleaseBuiltIn(kGPUObjectMaterial, name);
        for (const char* name :
             {"line_mesh", "text_mesh", "ball", "twotris", "cube", "bilboard", "teapot", "torus"})
            ReleaseBuiltIn(kGPUObjectMesh, name);
        ReleaseBuiltIn(kGPUObjectEffect, "default");
    }
    m_Backend.reset();
    m_Window.reset();
}

CTextureGL* GLBackendTestBase::UseTarget(uint32_t width, uint32_t height, uint32_t format, uint32_t clear)
{
    GPUObjectHandle handle;
    auto* target =
        Hold<CTextureGL>(m_Backend->CreateTexture("", width, height, 1, format, true, handle), handle);
    EXPECT_NE(target, nullptr);
    if (target == nullptr || target->SetRenderTarget(0) != kGPUResultOk)
        return nullptr;
    m_Backend->GetDevice()->Clear(true, true, clear, 1.0f, 0);
    return target;
}

void GLBackendTestBase::ReleaseBuiltIn(uint32_t type, const std::string& name)
{
    if (const GPUObjectHandle* found = m_Backend->FindByName(name, type))
    {
        const GPUObjectHandle handle = *found;
        m_Backend->ReleaseResource(&handle);
        m_Backend->ReleaseResource(&handle);
    }
}

#include "kelvo/gpu/gl/EffectParser.h"

#include <gtest/gtest.h>

namespace
{
const char* const kWellFormed = R"(// parameters of every type
float a; float2 b; float3 c; float4 d;
float4x4 m;
uint u; int i;
float4 list[3];
sampler s0 : stage(0);
sampler v3 : stage(260);
common { float Helper() { return 1.0; } }
vertex_shader vs { void main() { gl_Position = vec4(0.0); /* } */ } }
pixel_shader ps { out vec4 o; void main() { o = vec4(1.0); } }
technique first < string params = "a  d"; float weight = -1.5; bool on = true; >
{
    pass P0 { VertexShader = vs; PixelShader = ps; AlphaBlendEnable = true; SrcBlend = SrcAlpha;
              DestBlend = InvSrcAlpha; ZEnable = false; ZWriteEnable = false; CullMode = CW; }
    pass P1 { VertexShader = vs; PixelShader = ps; }
}
technique second { pass P0 { VertexShader = vs; PixelShader = ps; } }
)";

bool Parse(const std::string& text, SEffectSource& source, std::string& error)
{
    CEffectParser parser(text, "test.e");
    return parser.Parse(source, error);
}
}

TEST(EffectParser, ReadsParametersSamplersShadersAndTechniques)
{
    SEffectSource source;
    std::string error;
    ASSERT_TRUE(Parse(kWellFormed, source, error)) << error;

    const uint32_t sizes[] = {4, 8, 12, 16, 64, 4, 4, 48};
    ASSERT_EQ(source.m_Parameters.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(source.m_Parameters[i].GetByteSize(), sizes[i]) << source.m_Parameters[i].m_Name;
    EXPECT_EQ(source.m_Parameters[7].m_Line, 5u);

    ASSERT_EQ(source.m_Samplers.size(), 2u);
    EXPECT_EQ(source.m_Samplers[1].m_Stage, 260u);

    ASSERT_EQ(source.m_Shaders.size(), 3u);
    const SEffectShaderSource* vs = source.FindShader(EShaderStage::Vertex, "vs");
    ASSERT_NE(vs, nullptr);
    EXPECT_EQ(vs->m_Line, 9u);
    EXPECT_EQ(vs->m_Code, " void main() { gl_Position = vec4(0.0); /* } */ } ");
    EXPECT_EQ(source.FindShader(EShaderStage::Pixel, "vs"), nullptr);

    ASSERT_EQ(source.m_Techniques.size(), 2u);
    const SEffectTechniqueSource& first = source.m_Techniques[0];
    ASSERT_NE(first.FindAnnotation("params"), nullptr);
    EXPECT_EQ(first.FindAnnotation("params")->m_Value, "a  d");
    EXPECT_EQ(first.FindAnnotation("weight")->m_Value, "-1.5");
    EXPECT_EQ(first.FindAnnotation("on")->m_Type, EAnnotationType::Bool);
    ASSERT_EQ(first.m_Passes.size(), 2u);
    const SPassStates& states = first.m_Passes[0].m_States;
    EXPECT_EQ(states.m_BlendEnable, true);
    EXPECT_EQ(states.m_SourceBlend, CGLDevice::EBlendFactor::SrcAlpha);
    EXPECT_EQ(states.m_DestBlend, CGLDevice::EBlendFactor::InvSrcAlpha);
    EXPECT_EQ(states.m_DepthEnable, false);
    EXPECT_EQ(states.m_CullMode, CGLDevice::ECullMode::Clockwise);
    EXPECT_FALSE(first.m_Passes[1].m_States.m_BlendEnable.has_value());
    EXPECT_TRUE(source.m_Techniques[1].m_Annotations.empty());
}

TEST(EffectParser, ErrorsNameTheFileLineAndReason)
{
    struct SCase
    {
        std::string m_Text;
        const char* m_Expected;
    };
    const SCase cases[] = {
        {"float4 a;\ntechnique t { pass P0 { VertexShader = vs;",
         "test.e(2): error: expected a name at the end of the file"},
        {"float4 a;\n\nfloat4 a;", "test.e(3): error: 'a' is already declared"},
        {"float a[0];", "test.e(1): error: array size of 'a' must be 1 to 4096"},
        {"float a[99999999999];", "test.e(1): error: expected a whole number before '99999999999'"},
        {"sampler s : stage(8);", "test.e(1): error: sampler 's' names no stage (0 to 7 or 257 to 260)"},
        {"float4 a;\n@", "test.e(2): error: unexpected character '@'"},
        {std::string("float a;\n\0", 10), "test.e(2): error: unexpected byte 0"},
        {"technique t < string params = \"a b; > {}", "test.e(1): error: string not closed"},
        {"technique t < string params = 3; > {}",
         "test.e(1): error: value does not fit annotation 'params' before '3'"},
        {"/* never closed", "test.e(1): error: comment not closed"},
        {"vertex_shader vs {\n void main() {\n", "test.e(1): error: shader body not closed"},
        {"vertex_shader vs { }\nvertex_shader vs { }", "test.e(2): error: shader 'vs' is already defined"},
        {"technique t { pass P0 { Fog = true; } }", "test.e(1): error: unknown pass state 'Fog'"},
        {"technique t { pass P0 { CullMode = Both; } }",
         "test.e(1): error: unknown cull mode 'Both' (None, CW, CCW)"},
        {"technique t {\n pass P0 { VertexShader = vs; } }",
         "test.e(2): error: pass 'P0' needs a VertexShader and a PixelShader"},
        {"technique t { }\ntechnique t { }", "test.e(2): error: technique 't' is already defined"},
        {"half4 h;", "test.e(1): error: expected a parameter, sampler, shader or technique before 'half4'"},
    };
    for (const SCase& c : cases)
    {
        SEffectSource source;
        std::string error;
        EXPECT_FALSE(Parse(c.m_Text, source, error)) << c.m_Text;
        EXPECT_EQ(error, c.m_Expected);
    }
}

TEST(EffectParser, EveryTruncationOfAGoodFileIsHandled)
{
    // Cut anywhere, the file either still parses (cut between declarations) or fails with a
    // located error; nothing reads past the text (the asan preset checks).
    const std::string text = kWellFormed;
    std::size_t failures = 0;
    for (std::size_t length = 0; length < text.size(); ++length)
    {
        SEffectSource source;
        std::string error;
        if (!Parse(text.substr(0, length), source, error))
        {
            ++failures;
            ASSERT_EQ(error.rfind("test.e(", 0), 0u) << "cut at " << length << ": " << error;
        }
    }
    EXPECT_GT(failures, text.size() / 2);
}

// The soft-body engine's pressure passes. Each technique draws the unit quad "bilboard" over its
// whole target and writes one texel per element. Until a body is registered, every pass
// carries its first input through unchanged.

sampler g_Input0 : stage(0);

vertex_shader vs_whole_target
{
    void main()
    {
        gl_Position = vec4(in_texcoord0.x * 2.0 - 1.0, 1.0 - in_texcoord0.y * 2.0, 0.0, 1.0);
    }
}

pixel_shader ps_pass_through
{
    layout(location = 0) out vec4 o_Value;

    void main()
    {
        o_Value = texelFetch(g_Input0, ivec2(gl_FragCoord.xy), 0);
    }
}

technique sum_norm_task
{
    pass P0
    {
        VertexShader = vs_whole_target;
        PixelShader = ps_pass_through;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

technique volume_task
{
    pass P0
    {
        VertexShader = vs_whole_target;
        PixelShader = ps_pass_through;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

technique sum_volume_lines_task
{
    pass P0
    {
        VertexShader = vs_whole_target;
        PixelShader = ps_pass_through;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

technique sum_volume_task
{
    pass P0
    {
        VertexShader = vs_whole_target;
        PixelShader = ps_pass_through;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

technique spring_forces_task
{
    pass P0
    {
        VertexShader = vs_whole_target;
        PixelShader = ps_pass_through;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

technique sum_forces_task
{
    pass P0
    {
        VertexShader = vs_whole_target;
        PixelShader = ps_pass_through;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

technique apply_forces_task
{
    pass P0
    {
        VertexShader = vs_whole_target;
        PixelShader = ps_pass_through;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

technique triangle_normals_task
{
    pass P0
    {
        VertexShader = vs_whole_target;
        PixelShader = ps_pass_through;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

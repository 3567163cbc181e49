// The default effect: screen-space techniques drawn over the unit quad "bilboard", whose
// corners run from (0, 0) to (1, 1). Rectangles are (x, y, width, height) in the unit square
// of the render target, (0, 0) at its top-left corner.

float4 r_clear_color;
float4 r_color;
float4 r_dbg_tex_pos;
float4 r_dbg_tex_scale;
float4 r_dbg_tex_base;

sampler g_Texture0 : stage(0);

common
{
    // Clip position of a unit-quad corner placed on a rectangle of the target.
    vec4 PlaceOnRectangle(vec2 corner, vec4 rectangle)
    {
        vec2 onTarget = rectangle.xy + corner * rectangle.zw;
        return vec4(onTarget.x * 2.0 - 1.0, 1.0 - onTarget.y * 2.0, 0.0, 1.0);
    }
}

vertex_shader vs_whole_target
{
    void main()
    {
        gl_Position = PlaceOnRectangle(in_position.xy, vec4(0.0, 0.0, 1.0, 1.0));
    }
}

vertex_shader vs_rectangle
{
    out vec2 v_TexCoord;

    void main()
    {
        gl_Position = PlaceOnRectangle(in_position.xy, r_dbg_tex_pos);
        v_TexCoord = in_texcoord0.xy;
    }
}

pixel_shader ps_clear
{
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        o_Color = r_clear_color;
    }
}

pixel_shader ps_flat_color
{
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        o_Color = r_color;
    }
}

pixel_shader ps_texture
{
    in vec2 v_TexCoord;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        o_Color = texture(g_Texture0, v_TexCoord);
    }
}

pixel_shader ps_scaled_texture
{
    in vec2 v_TexCoord;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        o_Color = texture(g_Texture0, v_TexCoord) * r_dbg_tex_scale + r_dbg_tex_base;
    }
}

// Writes "r_clear_color" to every pixel of the target.
technique clear_tex < string params = "r_clear_color"; >
{
    pass P0
    {
        VertexShader = vs_whole_target;
        PixelShader = ps_clear;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

// The texture of stage 0 on the rectangle "r_dbg_tex_pos".
technique clipart_tex < string params = "r_dbg_tex_pos"; >
{
    pass P0
    {
        VertexShader = vs_rectangle;
        PixelShader = ps_texture;
        ZEnable = false;
    }
}

// The texture of stage 0 times "r_dbg_tex_scale" plus "r_dbg_tex_base", on the rectangle.
technique dbg_tex < string params = "r_dbg_tex_pos r_dbg_tex_scale r_dbg_tex_base"; >
{
    pass P0
    {
        VertexShader = vs_rectangle;
        PixelShader = ps_scaled_texture;
        ZEnable = false;
    }
}

// The rectangle filled with "r_color".
technique bilboard_color < string params = "r_dbg_tex_pos r_color"; >
{
    pass P0
    {
        VertexShader = vs_rectangle;
        PixelShader = ps_flat_color;
        ZEnable = false;
    }
}

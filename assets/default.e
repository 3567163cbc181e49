// The default effect: screen-space techniques drawn over the unit quad "bilboard", whose
// corners run from (0, 0) to (1, 1). Rectangles are (x, y, width, height) in the unit square
// of the render target, (0, 0) at its top-left corner. "d3d_material" lights meshes with the
// colours of their material.

float4 r_clear_color;
float4 r_color;
float4 r_dbg_tex_pos;
float4 r_dbg_tex_scale;
float4 r_dbg_tex_base;

float4x4 r_projection_view_world;
float4x4 r_world_normal;
float4 r_diffuse;
float4 r_specular;
float4 r_ambient;
float4 r_emissive;
float r_power;
float r_use_texture;

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

vertex_shader vs_material
{
    out vec3 v_Normal;
    out vec2 v_TexCoord;

    void main()
    {
        gl_Position = r_projection_view_world * vec4(in_position.xyz, 1.0);
        v_Normal = (r_world_normal * vec4(in_normal.xyz, 0.0)).xyz;
        v_TexCoord = in_texcoord0.xy;
    }
}

pixel_shader ps_material
{
    in vec3 v_Normal;
    in vec2 v_TexCoord;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        // One white light from above, lighting both sides of a surface.
        const vec3 light = vec3(0.267, 0.802, -0.535);
        float lengthSquared = dot(v_Normal, v_Normal);
        vec3 normal = lengthSquared > 0.0 ? v_Normal * inversesqrt(lengthSquared) : vec3(0.0);
        float diffuse = abs(dot(normal, light));
        float specular = pow(max(reflect(-light, normal).z * -1.0, 0.0), max(r_power, 1.0));
        vec4 base = r_use_texture > 0.5 ? texture(g_Texture0, v_TexCoord) : vec4(1.0);
        vec3 colour = r_emissive.rgb + r_ambient.rgb +
                      r_diffuse.rgb * base.rgb * (0.35 + 0.65 * diffuse) + r_specular.rgb * specular;
        o_Color = vec4(colour, r_diffuse.a * base.a);
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

// A mesh lit with its material's colours and, with "r_use_texture", its texture of stage 0.
technique d3d_material < string params = "r_projection_view_world r_world_normal r_diffuse r_specular r_ambient r_emissive r_power r_use_texture"; >
{
    pass P0
    {
        VertexShader = vs_material;
        PixelShader = ps_material;
        ZEnable = true;
    }
}

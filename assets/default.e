// The default effect: screen-space techniques drawn over the unit quad "bilboard", whose
// texture coordinates run from (0, 0) at its top-left corner to (1, 1); the overlay
// techniques for lines and text. Rectangles are (x, y, width, height) in the unit square of
// the render target, (0, 0) at its top-left corner.
//
// Blending, when on, takes the source times (1 - alpha) plus the target times alpha: an
// alpha of 0 is opaque and 1 leaves the target as it was. Techniques that blend therefore
// write 1 - coverage as their alpha. "d3d_material" lights meshes with the colours of their
// material; "color_particles" draws point sets in the colour of "r_color".

float4 r_clear_color;
float4 r_color;
float4 r_dbg_tex_pos;
float4 r_dbg_tex_scale;
float4 r_dbg_tex_base;
float4x4 r_projection;
float4x4 r_projection_view_world;
float4x4 r_world_normal;
float4 r_diffuse;
float4 r_specular;
float4 r_ambient;
float4 r_emissive;
float r_power;
float r_use_texture;

sampler g_Texture0 : stage(0);
sampler g_Texture1 : stage(1);

common
{
    // Clip position of a unit-quad corner placed on a rectangle of the target.
    vec4 PlaceOnRectangle(vec2 corner, vec4 rectangle)
    {
        vec2 onTarget = rectangle.xy + corner * rectangle.zw;
        return vec4(onTarget.x * 2.0 - 1.0, 1.0 - onTarget.y * 2.0, 0.0, 1.0);
    }

    // Catmull-Rom weights of the four texels around a sample at fraction t.
    vec4 CubicWeights(float t)
    {
        float t2 = t * t;
        float t3 = t2 * t;
        return 0.5 * vec4(-t3 + 2.0 * t2 - t, 3.0 * t3 - 5.0 * t2 + 2.0,
                          -3.0 * t3 + 4.0 * t2 + t, t3 - t2);
    }
}

vertex_shader vs_whole_target
{
    void main()
    {
        gl_Position = PlaceOnRectangle(in_texcoord0.xy, vec4(0.0, 0.0, 1.0, 1.0));
    }
}

vertex_shader vs_rectangle
{
    out vec2 v_TexCoord;

    void main()
    {
        gl_Position = PlaceOnRectangle(in_texcoord0.xy, r_dbg_tex_pos);
        v_TexCoord = in_texcoord0.xy;
    }
}

// Camera-space points through the projection, with their vertex colour.
vertex_shader vs_camera_lines
{
    out vec4 v_Color;

    void main()
    {
        gl_Position = r_projection * vec4(in_position.xyz, 1.0);
        v_Color = in_color0;
    }
}

// Glyph corners already in clip space.
vertex_shader vs_text
{
    out vec2 v_TexCoord;
    out vec4 v_Color;

    void main()
    {
        gl_Position = vec4(in_position.xy, 0.0, 1.0);
        v_TexCoord = in_texcoord0.xy;
        v_Color = in_color0;
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

vertex_shader vs_points
{
    void main()
    {
        gl_Position = r_projection_view_world * vec4(in_position.xyz, 1.0);
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

// Colour from stage 0, coverage from the brightness of stage 1.
pixel_shader ps_clipart
{
    in vec2 v_TexCoord;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        vec3 color = texture(g_Texture0, v_TexCoord).rgb;
        float coverage = dot(texture(g_Texture1, v_TexCoord).rgb, vec3(0.299, 0.587, 0.114));
        o_Color = vec4(color, 1.0 - coverage);
    }
}

// Colour: texel times scale plus base; coverage: the base's alpha.
pixel_shader ps_scaled_texture
{
    in vec2 v_TexCoord;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        vec3 color = texture(g_Texture0, v_TexCoord).rgb * r_dbg_tex_scale.rgb + r_dbg_tex_base.rgb;
        o_Color = vec4(color, 1.0 - clamp(r_dbg_tex_base.a, 0.0, 1.0));
    }
}

// Bicubic (Catmull-Rom) filter over the 4 x 4 texels around the sample, edges clamped.
pixel_shader ps_bicubic
{
    in vec2 v_TexCoord;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        ivec2 size = textureSize(g_Texture0, 0);
        vec2 position = v_TexCoord * vec2(size) - 0.5;
        vec2 corner = floor(position);
        vec4 weightsX = CubicWeights(position.x - corner.x);
        vec4 weightsY = CubicWeights(position.y - corner.y);
        vec4 sum = vec4(0.0);
        for (int j = 0; j < 4; ++j)
        {
            vec4 row = vec4(0.0);
            for (int i = 0; i < 4; ++i)
            {
                ivec2 texel = clamp(ivec2(corner) + ivec2(i - 1, j - 1), ivec2(0), size - 1);
                row += texelFetch(g_Texture0, texel, 0) * weightsX[i];
            }
            sum += row * weightsY[j];
        }
        o_Color = vec4(clamp(sum.rgb, 0.0, 1.0), 0.0);
    }
}

pixel_shader ps_vertex_color
{
    in vec4 v_Color;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        o_Color = vec4(v_Color.rgb * r_color.rgb, r_color.a);
    }
}

// The glyph's coverage from the font's alpha, in the vertex colour.
pixel_shader ps_text
{
    in vec2 v_TexCoord;
    in vec4 v_Color;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        float coverage = texture(g_Texture0, v_TexCoord).a * (1.0 - v_Color.a);
        o_Color = vec4(v_Color.rgb, 1.0 - coverage);
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

// The picture of stage 0 on the rectangle, covering as much as stage 1 is bright.
technique clipart_tex < string params = "r_dbg_tex_pos"; >
{
    pass P0
    {
        VertexShader = vs_rectangle;
        PixelShader = ps_clipart;
        ZEnable = false;
    }
}

// The texture of stage 0 times "r_dbg_tex_scale" plus "r_dbg_tex_base", on the rectangle,
// covering the target by the base's alpha (1: opaque).
technique dbg_tex < string params = "r_dbg_tex_pos r_dbg_tex_scale r_dbg_tex_base"; >
{
    pass P0
    {
        VertexShader = vs_rectangle;
        PixelShader = ps_scaled_texture;
        ZEnable = false;
    }
}

// The texture of stage 0 filtered bicubically onto the rectangle.
technique bicubic_tex < string params = "r_dbg_tex_pos"; >
{
    pass P0
    {
        VertexShader = vs_rectangle;
        PixelShader = ps_bicubic;
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

// Debug lines in camera space, in their vertex colours times "r_color".
technique BoundingBox < string params = "r_projection r_color"; >
{
    pass P0
    {
        VertexShader = vs_camera_lines;
        PixelShader = ps_vertex_color;
        ZEnable = false;
    }
}

// Screen text: glyphs of the font on stage 0 in their vertex colour.
technique Text
{
    pass P0
    {
        VertexShader = vs_text;
        PixelShader = ps_text;
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

// A point set (particles) in the world in "r_color", blended by its alpha (0 opaque), tested
// against the depth of what is drawn but not hiding what comes after.
technique color_particles < string params = "r_projection_view_world r_color"; >
{
    pass P0
    {
        VertexShader = vs_points;
        PixelShader = ps_flat_color;
        AlphaBlendEnable = true;
        ZEnable = true;
        ZWriteEnable = false;
    }
}

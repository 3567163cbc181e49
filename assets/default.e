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
float4 r_bicubic_rows;
float4 r_bicubic_extent;
float r_rt_scale_x;
float r_rt_scale_y;
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

    // The four texels around a sample at position p (0 to 1) along an axis of size texels,
    // clamped to the axis, and their Catmull-Rom weights.
    ivec4 BicubicTaps(float p, int size, out vec4 weights)
    {
        float position = p * float(size) - 0.5;
        float corner = floor(position);
        weights = CubicWeights(position - corner);
        return clamp(ivec4(int(corner)) + ivec4(-1, 0, 1, 2), ivec4(0), ivec4(size - 1));
    }

    // The weighted sum of four columns of one row of stage 0.
    vec4 SampleBicubicRow(ivec4 columns, vec4 weights, int row)
    {
        vec4 sum = vec4(0.0);
        for (int i = 0; i < 4; ++i)
            sum += texelFetch(g_Texture0, ivec2(columns[i], row), 0) * weights[i];
        return sum;
    }

    // Catmull-Rom filtered stage 0 at uv, which spans the texture's top-left extent texels;
    // texels outside that extent are never read.
    vec4 SampleBicubic(vec2 uv, ivec2 extent)
    {
        vec4 weightsX, weightsY;
        ivec4 columns = BicubicTaps(uv.x, extent.x, weightsX);
        ivec4 rows = BicubicTaps(uv.y, extent.y, weightsY);
        vec4 sum = vec4(0.0);
        for (int j = 0; j < 4; ++j)
            sum += SampleBicubicRow(columns, weightsX, rows[j]) * weightsY[j];
        return sum;
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

// The rectangle's columns over every row of the target: the across pass of the filter.
vertex_shader vs_rectangle_columns
{
    void main()
    {
        gl_Position = PlaceOnRectangle(in_texcoord0.xy, vec4(r_dbg_tex_pos.x, 0.0, r_dbg_tex_pos.z, 1.0));
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
        o_Color = vec4(clamp(SampleBicubic(v_TexCoord, textureSize(g_Texture0, 0)).rgb, 0.0, 1.0), 0.0);
    }
}

// The two-pass filter. "r_bicubic_rows" holds the first picture row filtered across, the
// number of rows and the width in pixels of the target the picture goes to;
// "r_bicubic_extent" the picture's extent in texels.
//
// Pass one of two: target row r holds picture row "r_bicubic_rows".x + r filtered across at
// each pixel column of the rectangle. The column's place on the rectangle comes from its
// pixel, as it does in pass two, so both agree on it exactly.
pixel_shader ps_bicubic_across
{
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        ivec2 extent = ivec2(r_bicubic_extent.xy);
        int row = min(int(r_bicubic_rows.x) + int(gl_FragCoord.y), extent.y - 1);
        float u = (gl_FragCoord.x / r_bicubic_rows.z - r_dbg_tex_pos.x) / r_dbg_tex_pos.z;
        vec4 weights;
        ivec4 columns = BicubicTaps(u, extent.x, weights);
        o_Color = SampleBicubicRow(columns, weights, row);
    }
}

// Pass two: the rows of pass one (stage 1) filtered down onto the rectangle; the same sum,
// in the same order, as the one-pass filter.
pixel_shader ps_bicubic_down
{
    in vec2 v_TexCoord;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        vec4 weights;
        ivec4 rows = BicubicTaps(v_TexCoord.y, int(r_bicubic_extent.y), weights);
        rows = clamp(rows - int(r_bicubic_rows.x), ivec4(0), ivec4(int(r_bicubic_rows.y) - 1));
        int column = int(gl_FragCoord.x);
        vec4 sum = vec4(0.0);
        for (int j = 0; j < 4; ++j)
            sum += texelFetch(g_Texture1, ivec2(column, rows[j]), 0) * weights[j];
        o_Color = vec4(clamp(sum.rgb, 0.0, 1.0), 0.0);
    }
}

// The traced image: only its top-left "r_bicubic_extent" texels hold this frame's picture
// (the share the tracer traced), so only that part is stretched over the rectangle.
pixel_shader ps_traced_image
{
    in vec2 v_TexCoord;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        ivec2 traced = clamp(ivec2(r_bicubic_extent.xy), ivec2(1), textureSize(g_Texture0, 0));
        o_Color = vec4(clamp(SampleBicubic(v_TexCoord, traced).rgb, 0.0, 1.0), 0.0);
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

// The texture of stage 0 filtered bicubically onto the rectangle: in one pass ("P0"), or in
// two: "P1" filters the rows in view across into a float target, "P2" filters those down.
technique bicubic_tex < string params = "r_dbg_tex_pos r_bicubic_rows r_bicubic_extent"; >
{
    pass P0
    {
        VertexShader = vs_rectangle;
        PixelShader = ps_bicubic;
        ZEnable = false;
    }
    pass P1
    {
        VertexShader = vs_rectangle_columns;
        PixelShader = ps_bicubic_across;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
    pass P2
    {
        VertexShader = vs_rectangle;
        PixelShader = ps_bicubic_down;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

// The traced part of the tracer's picture on stage 0, filtered bicubically onto the rectangle.
technique traced_image < string params = "r_dbg_tex_pos r_bicubic_extent"; >
{
    pass P0
    {
        VertexShader = vs_rectangle;
        PixelShader = ps_traced_image;
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

// The zoom: the bank (stages 0 and 1) seen through the view "r_zoom_mat1"/"r_zoom_mat2",
// whose fourth components are the point at the centre of the screen in bank units. A texel
// magnified enough is drawn as the whole bank image that the colour table (stage 2) maps its
// colour to, fading in with "r_zoom_blend". Such an image starts tinted to its texel's
// colour, so that together the images look like the picture they stand for, and shows its
// own colours as "r_zoom_blend2" grows. "P1" goes one level deeper: the current image's
// texels are drawn as their images, and those images' texels turn into images in turn.

float4 r_zoom_mat1;
float4 r_zoom_mat2;
float r_zoom_aspect;
float r_zoom_blend;
float r_zoom_blend2;
uint r_zoom_images_x;

sampler g_ZoomTable : stage(2);

common
{
    float ZoomImagesPerRow()
    {
        return float(max(r_zoom_images_x, 1u));
    }

    // The corner (bank units) of the bank image the table gives for a colour, and that
    // image's average colour.
    vec2 ZoomImageTile(vec3 color, out vec3 average)
    {
        ivec3 level = ivec3(floor(clamp(color, 0.0, 1.0) * 63.0 + 0.5));
        int index = level.b * 4096 + level.g * 64 + level.r;
        vec4 entry = texelFetch(g_ZoomTable, ivec2(index % 512, index / 512), 0);
        average = entry.rgb;
        int image = int(entry.a * 255.0 + 0.5);
        int perRow = int(ZoomImagesPerRow());
        return vec2(float(image % perRow), float(image / perRow)) / ZoomImagesPerRow();
    }

    // A bank image at position (its texels), with the texel steps to the next pixels; kept
    // half a texel inside the image so that its neighbours in the bank never bleed in.
    vec3 ZoomSample(sampler2D bank, vec2 tile, vec2 position, vec2 dx, vec2 dy, float bankSize,
                    float imageSize)
    {
        vec2 inside = clamp(position, vec2(0.5), vec2(imageSize - 0.5));
        return textureGrad(bank, tile + inside / bankSize, dx / bankSize, dy / bankSize).rgb;
    }

    // The flight's picture at a screen point (centred; the screen's width is 1) whose
    // neighbouring pixels lie screenDx and screenDy away.
    vec3 ZoomPixel(vec2 screen, vec2 screenDx, vec2 screenDy, bool deeper)
    {
        float bankSize = float(textureSize(g_Texture0, 0).x);
        float imageSize = bankSize / ZoomImagesPerRow();
        mat2 view = mat2(r_zoom_mat1.x, r_zoom_mat2.x, r_zoom_mat1.y, r_zoom_mat2.y) * bankSize;
        // Whole texels apart from the fraction keep the precision deep inside one texel.
        vec2 centre = vec2(r_zoom_mat1.w, r_zoom_mat2.w) * bankSize;
        vec2 whole = floor(centre);
        vec2 local = centre - whole + view * screen;
        vec2 dx = view * screenDx;
        vec2 dy = view * screenDy;
        vec2 uv = (whole + local) / bankSize;
        if (any(lessThan(uv, vec2(0.0))) || any(greaterThanEqual(uv, vec2(1.0))))
            return vec3(0.0);
        vec3 color = textureGrad(g_Texture0, uv, dx / bankSize, dy / bankSize).rgb;
        vec2 texel = whole + floor(local);
        vec2 inside = fract(local);
        vec3 average;
        if (deeper)
        {
            vec2 tile = ZoomImageTile(texelFetch(g_Texture0, ivec2(texel), 0).rgb, average);
            vec2 position = inside * imageSize;
            dx *= imageSize;
            dy *= imageSize;
            color = ZoomSample(g_Texture1, tile, position, dx, dy, bankSize, imageSize);
            texel = tile * bankSize + floor(position);
            inside = fract(position);
        }
        if (r_zoom_blend <= 0.0)
            return color;
        vec2 tile = ZoomImageTile(texelFetch(g_Texture0, ivec2(texel), 0).rgb, average);
        vec3 image = ZoomSample(g_Texture1, tile, inside * imageSize, dx * imageSize,
                                dy * imageSize, bankSize, imageSize);
        vec3 tinted = clamp(image + color - average, 0.0, 1.0);
        return mix(color, mix(tinted, image, r_zoom_blend2), r_zoom_blend);
    }
}

vertex_shader vs_zoom
{
    out vec2 v_Screen;

    void main()
    {
        gl_Position = PlaceOnRectangle(in_texcoord0.xy, vec4(0.0, 0.0, 1.0, 1.0));
        v_Screen = in_texcoord0.xy;
    }
}

pixel_shader ps_zoom
{
    in vec2 v_Screen;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        vec2 screen = vec2(v_Screen.x - 0.5, (v_Screen.y - 0.5) * r_zoom_aspect);
        o_Color = vec4(ZoomPixel(screen, dFdx(screen), dFdy(screen), false), 0.0);
    }
}

pixel_shader ps_zoom_deeper
{
    in vec2 v_Screen;
    layout(location = 0) out vec4 o_Color;

    void main()
    {
        vec2 screen = vec2(v_Screen.x - 0.5, (v_Screen.y - 0.5) * r_zoom_aspect);
        o_Color = vec4(ZoomPixel(screen, dFdx(screen), dFdy(screen), true), 0.0);
    }
}

technique zoom_effect < string params = "r_zoom_mat1 r_zoom_mat2 r_zoom_aspect r_zoom_blend r_zoom_blend2 r_zoom_images_x"; >
{
    pass P0
    {
        VertexShader = vs_zoom;
        PixelShader = ps_zoom;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
    pass P1
    {
        VertexShader = vs_zoom;
        PixelShader = ps_zoom_deeper;
        AlphaBlendEnable = false;
        ZEnable = false;
    }
}

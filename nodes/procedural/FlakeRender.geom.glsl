#version 330 core
// "flakeShader", geometry stage: each point becomes a quad of half-size
// "Flake Size" (varied per flake) around its clip position, before the
// perspective division, showing the flake's cell of the atlas.
layout(points) in;
layout(triangle_strip, max_vertices = 4) out;

in vec4 g_positionSize[];
in vec4 g_textureOffset[];
in vec4 g_randoms[];
in float g_transparency[];
in float g_eyeDistance[];

uniform float flakeSize;
uniform float flakeSizeVariance;

out vec2 f_uv;
out vec4 f_randoms;
out float f_transparency;
out float f_eyeDistance;

void corner(vec2 offset, vec2 uv) {
    gl_Position = gl_in[0].gl_Position + vec4(offset, 0.0, 0.0);
    f_uv = uv;
    f_randoms = g_randoms[0];
    f_transparency = g_transparency[0];
    f_eyeDistance = g_eyeDistance[0];
    EmitVertex();
}

void main() {
    float size = g_positionSize[0].w * (flakeSize + flakeSizeVariance * g_randoms[0].x);
    vec4 cell = g_textureOffset[0];
    corner(vec2(-size, -size), cell.xy);
    corner(vec2(size, -size), cell.xy + vec2(cell.z, 0.0));
    corner(vec2(-size, size), cell.xy + vec2(0.0, cell.w));
    corner(vec2(size, size), cell.xy + cell.zw);
    EndPrimitive();
}

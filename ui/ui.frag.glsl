#version 330 core
// Flat vertices take their colour as it is; textured ones multiply it by the
// texel (pictures, and glyph atlases whose texels are (1, 1, 1, coverage)).
in vec2 texcoord;
flat in vec4 tint;
flat in float sampled;
uniform sampler2D tex;
out vec4 frag[1];

void main() {
    vec4 texel = texture(tex, texcoord);
    frag[0] = tint * (sampled > 0.5 ? texel : vec4(1.0));
}

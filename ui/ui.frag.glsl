#version 330 core
// Each vertex says which of the four bound textures it samples: 0 none (its
// colour as it is), 1 to 4 the textures on units 0 to 3 (pictures, and glyph
// atlases whose texels are (1, 1, 1, coverage)), multiplied by its colour.
in vec2 texcoord;
flat in vec4 tint;
flat in float sampled;
uniform sampler2D tex;
uniform sampler2D tex1;
uniform sampler2D tex2;
uniform sampler2D tex3;
out vec4 frag[1];

void main() {
    vec4 texel = vec4(1.0);
    if (sampled > 3.5) texel = texture(tex3, texcoord);
    else if (sampled > 2.5) texel = texture(tex2, texcoord);
    else if (sampled > 1.5) texel = texture(tex1, texcoord);
    else if (sampled > 0.5) texel = texture(tex, texcoord);
    frag[0] = tint * texel;
}

#version 330 core
// "flakeShader", fragment stage: the atlas cell's red channel as coverage,
// faded over one flake size in front of the scene surface (the eye distance
// in the depth picture's alpha), then fog, colour and per-flake variance.
in vec2 f_uv;
in vec4 f_randoms;
in float f_transparency;
in float f_eyeDistance;

uniform sampler2D depth;
uniform sampler2D atlas;
uniform float flakeSize;
uniform vec4 color;
uniform float colorVariance;

out vec4 frag[1];

void main() {
    vec2 uv = gl_FragCoord.xy / vec2(1920.0, 1080.0);
    float a = texture(atlas, f_uv).r;
    float sceneDistance = texture(depth, uv).a;
    a *= clamp(max(sceneDistance - f_eyeDistance, 0.0) / flakeSize, 0.0, 1.0);
    frag[0] = vec4(1.0, 1.0, 1.0, a * f_transparency) * color * mix(1.0, abs(f_randoms.x), colorVariance);
}

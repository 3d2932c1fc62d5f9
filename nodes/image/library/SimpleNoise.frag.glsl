#version 330 core
// "SimpleNoise": white noise per pixel, a new pattern for each Seed, tinted by
// Color; brightness, gamma and contrast as in "PerlinNoise3D" (contrast reads
// the channels as red, blue, green).
in vec2 texcoord;
in vec2 texcoord_Input[8];
out vec4 frag[1];

uniform int Seed;
uniform float Brightness;
uniform float Contrast;
uniform float Gamma;
uniform vec4 Color;

float rand(vec2 co) { return fract(sin(dot(co, vec2(12.9898, 78.233))) * 43758.5453); }

void main() {
    float seed = float(Seed);
    vec2 sd = vec2(0.0, rand(vec2(seed, 1000.0 - seed)));
    vec4 c = vec4(Color.rgb * rand(texcoord + sd), Color.a);
    c.rgb *= Brightness;
    c.rgb = pow(c.rgb, vec3(Gamma));
    c.rgb = (c.rbg - 0.5) * Contrast + 0.5;
    frag[0] = c;
}
